#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "control_table.h"
#include "dialog_fixture.h"
#include "menu_table.h"
#include "print_spooler.h"

namespace id = control_id;

namespace {

constexpr double kMillimetresPerPoint = 25.4 / 72.0;
constexpr double kLeftMargin = 10.0;  // mm
constexpr double kTopMargin = 12.0;   // mm
constexpr double kTolerance = 1.0;    // mm

// A word that pdftotext found on the page, its box in millimetres.
struct PdfWord {
    QString text;
    double left;
    double top;
    int page;
};

std::unique_ptr<QPrinter> PdfPrinter(const QString& path) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path);
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setFullPage(false);
    printer->setPageMargins(QMarginsF(kLeftMargin, kTopMargin, kLeftMargin, kLeftMargin),
                            QPageLayout::Millimeter);
    return printer;
}

QList<PdfWord> WordsOf(const QString& pdf) {
    QProcess tool;
    tool.start(QStringLiteral(PDFTOTEXT_PROGRAM),
               {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (!tool.waitForFinished(30000) || tool.exitCode() != 0) {
        return {};
    }
    const QString html = QString::fromUtf8(tool.readAllStandardOutput());
    static const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="[\d.]+" yMax="[\d.]+">([^<]*)</word>)re"));
    QList<PdfWord> words;
    int page = 0;
    int position = 0;
    for (;;) {
        const int nextPage = html.indexOf(QStringLiteral("<page "), position);
        const auto match = word.match(html, position);
        if (nextPage >= 0 && (!match.hasMatch() || nextPage < match.capturedStart())) {
            ++page;
            position = nextPage + 1;
            continue;
        }
        if (!match.hasMatch()) {
            return words;
        }
        words.push_back({match.captured(3), match.captured(1).toDouble() * kMillimetresPerPoint,
                         match.captured(2).toDouble() * kMillimetresPerPoint, page});
        position = match.capturedEnd();
    }
}

void Roll(DialogFixture& fixture, int rolls) {
    fixture.type(id::kRolls, QString::number(rolls));
    QTest::keyClick(fixture.edit(id::kRolls), Qt::Key_Return);
    QCOMPARE(int(fixture.dialog().State().m_nResultCount), rolls);
}

// The number after "#" in "Result #  7:" (pdftotext may join it to the "#").
int RollNumberAfter(const QList<PdfWord>& words, int resultIndex) {
    for (int i = resultIndex + 1; i < words.size() && i <= resultIndex + 2; ++i) {
        QString text = words[i].text;
        text.remove(QLatin1Char('#')).remove(QLatin1Char(':'));
        bool ok = false;
        const int number = text.toInt(&ok);
        if (ok) {
            return number;
        }
    }
    return -1;
}

}  // namespace

class PrintingTest : public QObject {
    Q_OBJECT

  private slots:
    void pageHoldsTheTitleAndTwoColumnsAtTheirPlaces_data() {
        QTest::addColumn<int>("count");
        QTest::newRow("1") << 1;
        QTest::newRow("50") << 50;
        QTest::newRow("51") << 51;
        QTest::newRow("100") << 100;
    }

    void pageHoldsTheTitleAndTwoColumnsAtTheirPlaces() {
        QFETCH(int, count);
        DialogFixture fixture;
        Roll(fixture, count);
        const QString pdf = fixture.file(QStringLiteral("page.pdf"));
        fixture.services.nextPrinter = PdfPrinter(pdf);
        fixture.command(command_id::kSendToPrinter);
        QCOMPARE(fixture.services.printerChoices, 1);
        QVERIFY(fixture.services.errors.isEmpty());

        const QList<PdfWord> words = WordsOf(pdf);
        QVERIFY2(words.size() >= 3, "pdftotext found no text");
        QCOMPARE(words.first().text, QStringLiteral("Alearo"));
        QCOMPARE(words.at(1).text, QStringLiteral("Results"));
        QVERIFY(qAbs(words.first().left - (kLeftMargin + 77)) < kTolerance);
        QVERIFY(qAbs(words.first().top - (kTopMargin + 16)) < kTolerance);

        QList<int> seen;
        for (int i = 2; i < words.size(); ++i) {
            const PdfWord& w = words[i];
            QCOMPARE(w.page, 1);  // exactly one page
            if (w.text != QLatin1String("Result")) {
                continue;
            }
            const int slot = RollNumberAfter(words, i);
            QVERIFY2(slot >= 1 && slot <= count, qPrintable(QString::number(slot)));
            seen << slot;
            const int row = slot <= 50 ? slot : slot - 50;
            const double left = kLeftMargin + (slot <= 50 ? 20 : 120);
            const double top = kTopMargin + 28 + 4 * (row - 1);
            QVERIFY2(qAbs(w.left - left) < kTolerance,
                     qPrintable(QStringLiteral("slot %1 at x %2 mm").arg(slot).arg(w.left)));
            QVERIFY2(qAbs(w.top - top) < kTolerance,
                     qPrintable(QStringLiteral("slot %1 at y %2 mm").arg(slot).arg(w.top)));
        }
        std::sort(seen.begin(), seen.end());
        QCOMPARE(seen.size(), count);
        QCOMPARE(seen.first(), 1);
        QCOMPARE(seen.last(), count);
    }

    void onlyTheLastRollIsPrinted() {
        DialogFixture fixture;
        Roll(fixture, 100);
        Roll(fixture, 10);
        const QString pdf = fixture.file(QStringLiteral("ten.pdf"));
        fixture.services.nextPrinter = PdfPrinter(pdf);
        fixture.command(command_id::kSendToPrinter);
        int results = 0;
        for (const PdfWord& w : WordsOf(pdf)) {
            results += w.text == QLatin1String("Result") ? 1 : 0;
        }
        QCOMPARE(results, 10);
    }

    void cancelledChoicePrintsAndShowsNothing() {
        DialogFixture fixture;
        Roll(fixture, 3);
        fixture.command(command_id::kSendToPrinter);  // no printer prepared: cancelled
        QCOMPARE(fixture.services.printerChoices, 1);
        QVERIFY(fixture.services.errors.isEmpty());
        QCOMPARE(QDir(fixture.file(QString())).entryList(QDir::Files), QStringList{});
    }

    void aJobThatCannotStartIsReported() {
        DialogFixture fixture;
        Roll(fixture, 3);
        fixture.services.nextPrinter =
            PdfPrinter(fixture.file(QStringLiteral("no such folder/page.pdf")));
        fixture.command(command_id::kSendToPrinter);
        QCOMPARE(fixture.services.errors,
                 QStringList{QStringLiteral("Error while printing. Unable to print.")});
    }

    void bothPrintCommandsNeedResults() {
        DialogFixture fixture;
        fixture.command(command_id::kSendToPrinter);
        fixture.command(command_id::kSendToPrinterViaNotepad);
        Roll(fixture, 4);
        QTest::mouseClick(fixture.control<QAbstractButton>(id::kClear), Qt::LeftButton);
        fixture.command(command_id::kSendToPrinter);
        fixture.command(command_id::kSendToPrinterViaNotepad);
        QCOMPARE(fixture.services.printerChoices, 0);
        QVERIFY(fixture.services.spooledFiles.isEmpty());
        QVERIFY(!fixture.exists(QStringLiteral("Results.txt")));
        QVERIFY(fixture.services.errors.isEmpty());
    }

    void viaNotepadWritesTheFileThenSpoolsIt() {
        DialogFixture fixture;
        Roll(fixture, 60);
        fixture.command(command_id::kSendToPrinterViaNotepad);
        QCOMPARE(
            fixture.services.spooledFiles,
            QStringList{QFileInfo(fixture.file(QStringLiteral("Results.txt"))).absoluteFilePath()});
        QCOMPARE(fixture.read(QStringLiteral("Results.txt")).count("\r\n"), 47);
        fixture.services.FinishSpool(true);
        QVERIFY(fixture.services.errors.isEmpty());

        fixture.command(command_id::kSendToPrinterViaNotepad);
        fixture.services.FinishSpool(false);
        QCOMPARE(fixture.services.errors,
                 QStringList{QStringLiteral("Error while delivering file. Unable to print.")});
    }

    void viaNotepadStopsWhenTheFileCannotBeWritten() {
        DialogFixture fixture;
        QVERIFY(QDir(fixture.file(QString())).mkdir(QStringLiteral("Results.txt")));
        Roll(fixture, 2);
        fixture.command(command_id::kSendToPrinterViaNotepad);
        QCOMPARE(fixture.services.errors,
                 QStringList{QStringLiteral("Error Writing to File: Results.txt")});
        QVERIFY(fixture.services.spooledFiles.isEmpty());
    }

    void spoolerHandsTheFileToLpAndLearnsItsAnswer() {
        QTemporaryDir bin;
        const QString record = bin.filePath(QStringLiteral("arguments"));
        QFile lp(bin.filePath(QStringLiteral("lp")));
        QVERIFY(lp.open(QIODevice::WriteOnly));
        lp.write(QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$@\" > '%1'\nexit \"$LP_EXIT\"\n")
                     .arg(record)
                     .toUtf8());
        lp.close();
        QVERIFY(lp.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                  QFileDevice::ExeOwner));
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()) + ':' + path);

        QObject context;
        for (const bool accepted : {true, false}) {
            qputenv("LP_EXIT", accepted ? "0" : "1");
            int answers = 0;
            bool delivered = !accepted;
            SpoolWithLp(QStringLiteral("/some folder/Results.txt"), &context, [&](bool ok) {
                ++answers;
                delivered = ok;
            });
            QTRY_COMPARE(answers, 1);
            QCOMPARE(delivered, accepted);
            QFile arguments(record);
            QVERIFY(arguments.open(QIODevice::ReadOnly));
            QCOMPARE(arguments.readAll(), QByteArray("/some folder/Results.txt\n"));
        }

        // No lp at all: the spooler cannot be started.
        qputenv("PATH", QFile::encodeName(bin.filePath(QStringLiteral("empty"))));
        int answers = 0;
        bool delivered = true;
        SpoolWithLp(QStringLiteral("/tmp/Results.txt"), &context, [&](bool ok) {
            ++answers;
            delivered = ok;
        });
        QTRY_COMPARE(answers, 1);
        QVERIFY(!delivered);
        qputenv("PATH", path);
        qunsetenv("LP_EXIT");
    }
};

QTEST_MAIN(PrintingTest)
#include "printing_test.moc"
