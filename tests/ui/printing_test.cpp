#include <QProcess>
#include <QRegularExpression>
#include <numeric>

#include "control_table.h"
#include "dialog_fixture.h"
#include "menu_table.h"
#include "print_spooler.h"

namespace id = control_id;

class PrintingTest : public QObject {
    Q_OBJECT

    static constexpr double kMargin = 10.0;  // mm, all round the printable area

    struct Word {
        QString text;
        double left, top;  // mm from the page's top-left corner
    };

    static std::unique_ptr<QPrinter> PdfPrinter(const QString& path) {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(path);
        printer->setPageMargins(QMarginsF(kMargin, kMargin, kMargin, kMargin),
                                QPageLayout::Millimeter);
        return printer;
    }

    // The words of a one-page PDF with their places, as pdftotext finds them.
    static QList<Word> WordsOf(const QString& pdf, int* pages) {
        QProcess tool;
        tool.start(QStringLiteral(PDFTOTEXT_PROGRAM),
                   {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
        tool.waitForFinished(30000);
        const QString html = QString::fromUtf8(tool.readAllStandardOutput());
        *pages = html.count(QStringLiteral("<page "));
        static const QRegularExpression word(
            QStringLiteral(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)"[^>]*>([^<]*)</word>)re"));
        QList<Word> words;
        for (const auto& m : word.globalMatch(html)) {
            words.push_back({m.captured(3), m.captured(1).toDouble() * 25.4 / 72,
                             m.captured(2).toDouble() * 25.4 / 72});
        }
        return words;
    }

  private slots:
    void pageHoldsTheTitleAndTwoColumnsAtTheirPlaces_data() {
        QTest::addColumn<int>("count");
        for (const int count : {1, 50, 51, 100}) {
            QTest::newRow(qPrintable(QString::number(count))) << count;
        }
    }

    void pageHoldsTheTitleAndTwoColumnsAtTheirPlaces() {
        QFETCH(int, count);
        DialogFixture f;
        f.roll(count);
        const QString pdf = f.file(QStringLiteral("page.pdf"));
        f.services.nextPrinter = PdfPrinter(pdf);
        f.command(command_id::kSendToPrinter);
        QVERIFY(f.services.errors.isEmpty());

        int pages = 0;
        const QList<Word> words = WordsOf(pdf, &pages);
        QCOMPARE(pages, 1);
        QVERIFY(words.size() > 2);
        QCOMPARE(words[0].text + QLatin1Char(' ') + words[1].text,
                 QStringLiteral("Alearo Results"));
        QVERIFY(qAbs(words[0].left - (kMargin + 77)) < 1.0);
        QVERIFY(qAbs(words[0].top - (kMargin + 16)) < 1.0);

        QList<int> found;
        for (int i = 2; i + 1 < words.size(); ++i) {
            if (words[i].text != QLatin1String("Result")) {
                continue;
            }
            // "Result #  7:" may come out as "#", "7:" or as "#100:".
            QString number =
                words[i + 1].text == QLatin1String("#") ? words[i + 2].text : words[i + 1].text;
            const int slot = number.remove(QLatin1Char('#')).remove(QLatin1Char(':')).toInt();
            found << slot;
            const int row = slot <= 50 ? slot : slot - 50;
            const double left = kMargin + (slot <= 50 ? 20 : 120);
            const double top = kMargin + 28 + 4 * (row - 1);
            QVERIFY2(qAbs(words[i].left - left) < 1.0 && qAbs(words[i].top - top) < 1.0,
                     qPrintable(QStringLiteral("slot %1 at %2, %3 mm")
                                    .arg(slot)
                                    .arg(words[i].left)
                                    .arg(words[i].top)));
        }
        std::sort(found.begin(), found.end());
        QList<int> expected(count);
        std::iota(expected.begin(), expected.end(), 1);
        QCOMPARE(found, expected);
    }

    void onlyTheLastRollIsPrinted() {
        DialogFixture f;
        f.roll(100);
        f.roll(10);
        const QString pdf = f.file(QStringLiteral("ten.pdf"));
        f.services.nextPrinter = PdfPrinter(pdf);
        f.command(command_id::kSendToPrinter);
        int pages = 0;
        const QList<Word> words = WordsOf(pdf, &pages);
        QCOMPARE(std::count_if(words.begin(), words.end(),
                               [](const Word& w) { return w.text == QLatin1String("Result"); }),
                 10);
    }

    void cancelledChoiceOrAFailedJob() {
        DialogFixture f;
        f.roll(3);
        f.command(command_id::kSendToPrinter);  // no printer prepared: the choice was cancelled
        QCOMPARE(f.services.printerChoices, 1);
        QVERIFY(f.services.errors.isEmpty());
        QVERIFY(QDir(f.file(QString())).entryList(QDir::Files).isEmpty());

        f.services.nextPrinter = PdfPrinter(f.file(QStringLiteral("no such folder/page.pdf")));
        f.command(command_id::kSendToPrinter);
        QCOMPARE(f.services.errors,
                 QStringList{QStringLiteral("Error while printing. Unable to print.")});
    }

    void viaNotepadWritesTheFileThenSpoolsIt() {
        DialogFixture f;
        f.roll(60);
        f.command(command_id::kSendToPrinterViaNotepad);
        QCOMPARE(f.services.spooledFiles, QStringList{f.file(QStringLiteral("Results.txt"))});
        QCOMPARE(f.read(QStringLiteral("Results.txt")).count("\r\n"), 47);
        f.services.FinishSpool(true);
        QVERIFY(f.services.errors.isEmpty());
        f.command(command_id::kSendToPrinterViaNotepad);
        f.services.FinishSpool(false);
        QCOMPARE(f.services.errors,
                 QStringList{QStringLiteral("Error while delivering file. Unable to print.")});

        QVERIFY(QFile::remove(f.file(QStringLiteral("Results.txt"))));
        QVERIFY(QDir(f.file(QString())).mkdir(QStringLiteral("Results.txt")));
        f.command(command_id::kSendToPrinterViaNotepad);
        QCOMPARE(f.services.errors.last(), QStringLiteral("Error Writing to File: Results.txt"));
        QCOMPARE(f.services.spooledFiles.size(), 2);  // a file that was not written is not spooled
    }

    void spoolerHandsTheFileToLpAndLearnsItsAnswer() {
        QTemporaryDir bin;
        QFile lp(bin.filePath(QStringLiteral("lp")));
        QVERIFY(lp.open(QIODevice::WriteOnly));
        lp.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.args\"\nexit \"$LP_EXIT\"\n");
        lp.close();
        QVERIFY(lp.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        const QByteArray path = qgetenv("PATH");

        QObject context;
        for (const char* exitCode : {"0", "1", "missing"}) {
            qputenv("LP_EXIT", exitCode);
            const bool missing = QByteArray(exitCode) == "missing";
            qputenv("PATH", missing ? QByteArray("/nonexistent")
                                    : QFile::encodeName(bin.path()) + ':' + path);
            QList<bool> answers;
            SpoolWithLp(QStringLiteral("/some folder/Results.txt"), &context,
                        [&answers](bool delivered) { answers << delivered; });
            QTRY_COMPARE(answers.size(), 1);
            QCOMPARE(answers[0], QByteArray(exitCode) == "0");
        }
        qputenv("PATH", path);
        QFile args(lp.fileName() + QStringLiteral(".args"));
        QVERIFY(args.open(QIODevice::ReadOnly));
        QCOMPARE(args.readAll(), QByteArray("/some folder/Results.txt\n"));
    }
};

QTEST_MAIN(PrintingTest)
#include "printing_test.moc"
