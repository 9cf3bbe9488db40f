#include "control_table.h"
#include "dialog_fixture.h"
#include "menu_table.h"

namespace id = control_id;

class OutputCommandsTest : public QObject {
    Q_OBJECT

  private slots:
    // The file layouts themselves are checked with the writer; here, that the
    // commands write the last Roll, in the format asked for.
    void bothFormatsWriteTheLastRoll() {
        DialogFixture f;
        f.command(command_id::kDropLowest);
        f.type(id::kDice, QStringLiteral("3"));
        f.roll(100);
        f.roll(12);
        const alearo::RollState& state = f.dialog().State();
        QByteArray lines;
        QByteArray totals;
        for (std::size_t k = 1; k <= 12; ++k) {
            lines += QByteArray::fromStdString(state.m_pResultLines[k]) + "\r\n";
            totals += QByteArray::number(state.m_pTotals[k]) + "\r\n";
        }
        f.command(command_id::kResultsNormalFormat);
        QCOMPARE(f.read(QStringLiteral("Results.txt")), lines);
        QVERIFY(lines.contains(" drpd)\r\n"));
        f.command(command_id::kResultsNoText);
        QCOMPARE(f.read(QStringLiteral("Results.txt")), totals);
        QVERIFY(f.services.errors.isEmpty());
    }

    void noOutputCommandActsBeforeAnyRollOrAfterClearing() {
        DialogFixture f;
        const int commands[] = {command_id::kResultsNormalFormat, command_id::kResultsNoText,
                                command_id::kSendToPrinter, command_id::kSendToPrinterViaNotepad};
        for (const int command : commands) {
            f.command(command);
        }
        f.roll(5);
        f.click(id::kClear);
        for (const int command : commands) {
            f.command(command);
        }
        QVERIFY(!f.exists(QStringLiteral("Results.txt")));
        QCOMPARE(f.services.printerChoices, 0);
        QVERIFY(f.services.spooledFiles.isEmpty());
        QVERIFY(f.services.errors.isEmpty());
    }

    void anUnwritableResultsFileIsReportedOncePerCommandAndKept() {
        DialogFixture f;
        f.write(QStringLiteral("Results.txt"), "keep me\r\n");
        QVERIFY(
            QFile::setPermissions(f.file(QStringLiteral("Results.txt")), QFileDevice::ReadOwner));
        f.roll(3);
        f.command(command_id::kResultsNormalFormat);
        f.command(command_id::kResultsNoText);
        QCOMPARE(f.services.errors,
                 QStringList(2, QStringLiteral("Error Writing to File: Results.txt")));
        QCOMPARE(f.read(QStringLiteral("Results.txt")), QByteArray("keep me\r\n"));
    }
};

QTEST_MAIN(OutputCommandsTest)
#include "output_commands_test.moc"
