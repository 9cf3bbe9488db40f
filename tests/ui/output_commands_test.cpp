#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QTest>

#include "control_table.h"
#include "dialog_fixture.h"
#include "menu_table.h"

namespace id = control_id;

namespace {

// The normal format for fewer than 48 results: the lines, each ended by CR LF.
QByteArray LinesWithCrLf(const alearo::RollState& state) {
    QByteArray bytes;
    for (int k = 1; k <= state.m_nResultCount; ++k) {
        bytes += QByteArray::fromStdString(state.m_pResultLines[static_cast<std::size_t>(k)]);
        bytes += "\r\n";
    }
    return bytes;
}

QByteArray TotalsWithCrLf(const alearo::RollState& state) {
    QByteArray bytes;
    for (int k = 1; k <= state.m_nResultCount; ++k) {
        bytes += QByteArray::number(state.m_pTotals[static_cast<std::size_t>(k)]) + "\r\n";
    }
    return bytes;
}

void Roll(DialogFixture& fixture, const char* rolls) {
    fixture.type(id::kRolls, QString::fromLatin1(rolls));
    QTest::keyClick(fixture.edit(id::kRolls), Qt::Key_Return);
}

}  // namespace

class OutputCommandsTest : public QObject {
    Q_OBJECT

  private slots:
    void bothFormatsWriteTheLastRoll() {
        DialogFixture fixture;
        fixture.command(command_id::kDropLowest);
        fixture.type(id::kDice, QStringLiteral("3"));
        fixture.type(id::kEachModifier, QStringLiteral("4"));
        Roll(fixture, "12");
        const alearo::RollState& state = fixture.dialog().State();

        fixture.command(command_id::kResultsNormalFormat);
        const QByteArray normal = fixture.read(QStringLiteral("Results.txt"));
        QCOMPARE(normal, LinesWithCrLf(state));
        QVERIFY(normal.contains(" drpd)\r\n"));

        fixture.command(command_id::kResultsNoText);
        QCOMPARE(fixture.read(QStringLiteral("Results.txt")), TotalsWithCrLf(state));
        QVERIFY(fixture.services.errors.isEmpty());
    }

    void aSmallerRollReplacesTheWholeFile() {
        DialogFixture fixture;
        Roll(fixture, "100");
        fixture.command(command_id::kResultsNormalFormat);
        QCOMPARE(fixture.read(QStringLiteral("Results.txt")).count("\r\n"), 54);

        Roll(fixture, "10");
        fixture.command(command_id::kResultsNormalFormat);
        const QByteArray ten = fixture.read(QStringLiteral("Results.txt"));
        QCOMPARE(ten, LinesWithCrLf(fixture.dialog().State()));
        QCOMPARE(ten.count("\r\n"), 10);
    }

    void nothingIsWrittenBeforeAnyRollOrAfterClearing() {
        DialogFixture fixture;
        fixture.command(command_id::kResultsNormalFormat);
        fixture.command(command_id::kResultsNoText);
        QVERIFY(!fixture.exists(QStringLiteral("Results.txt")));

        Roll(fixture, "5");
        QTest::mouseClick(fixture.control<QAbstractButton>(id::kClear), Qt::LeftButton);
        fixture.command(command_id::kResultsNormalFormat);
        fixture.command(command_id::kResultsNoText);
        QVERIFY(!fixture.exists(QStringLiteral("Results.txt")));
        QVERIFY(fixture.services.errors.isEmpty());
    }

    void anUnwritableResultsFileIsReportedOnceAndKept() {
        DialogFixture fixture;
        fixture.write(QStringLiteral("Results.txt"), "keep me\r\n");
        QVERIFY(QFile::setPermissions(fixture.file(QStringLiteral("Results.txt")),
                                      QFileDevice::ReadOwner | QFileDevice::ReadGroup));
        Roll(fixture, "3");
        fixture.command(command_id::kResultsNormalFormat);
        QCOMPARE(fixture.services.errors,
                 QStringList{QStringLiteral("Error Writing to File: Results.txt")});
        fixture.command(command_id::kResultsNoText);
        QCOMPARE(fixture.services.errors.size(), 2);
        QCOMPARE(fixture.read(QStringLiteral("Results.txt")), QByteArray("keep me\r\n"));
    }

    void aFolderInTheWayIsReported() {
        DialogFixture fixture;
        QVERIFY(QDir(fixture.file(QString())).mkdir(QStringLiteral("Results.txt")));
        Roll(fixture, "2");
        fixture.command(command_id::kResultsNoText);
        QCOMPARE(fixture.services.errors,
                 QStringList{QStringLiteral("Error Writing to File: Results.txt")});
        QVERIFY(QFileInfo(fixture.file(QStringLiteral("Results.txt"))).isDir());
    }
};

QTEST_MAIN(OutputCommandsTest)
#include "output_commands_test.moc"
