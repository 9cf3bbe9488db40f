// SPDX-License-Identifier: MIT
// What reaches outside the main window: the About box, the printed page
// and the print spooler.
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTimer>

#include "main_window_fixture.h"
#include "ui/platform/print_spooler.h"
#include "ui/windows/about_dialog.h"

namespace alearo {

class AboutHelpPrintTest : public QObject {
    Q_OBJECT

  private slots:
    void aboutBoxShowsItsTextsMailsAndClosesWithOk() {
        MainWindowFixture f;
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* about = f.window().findChild<AboutDialog*>();
            auto closeBox = qScopeGuard([about] { about->reject(); });
            QVERIFY(about->isModal());
            QCOMPARE(about->windowTitle() + '|' + about->findChild<QLabel*>("versionLine")->text(),
                     QStringLiteral("About Alearo|Alearo Version 2.1"));
            auto* email = about->findChild<QPushButton*>("emailButton");
            QVERIFY(email->width() >= email->sizeHint().width());  // the address is not cut off
            QTest::mouseClick(email, Qt::LeftButton);
            QVERIFY(f.services.errors.isEmpty());
            f.services.urlsOpen = false;
            QTest::mouseClick(email, Qt::LeftButton);
            QCOMPARE(f.services.openedUrls,
                     QList<QUrl>(2, QUrl(QStringLiteral("mailto:support@alearo.example.org"))));
            QCOMPARE(f.services.errors,
                     QStringList{QStringLiteral("Could not open your email program.")});
            QTest::mouseClick(about->findChild<QPushButton*>("okButton"), Qt::LeftButton);
            seen = !about->isVisible();
        });
        f.named<QAction>("actionAbout")->trigger();
        QVERIFY(seen && f.window().isVisible());
    }

    // The words of the printed page land where the layout puts them: the
    // title, then slots 1 to 50 and from 51 on in two columns 4 mm apart.
    void pagePlacesTheTitleAndTwoColumns() {
        constexpr double kMargin = 10.0;  // mm
        MainWindowFixture f;
        f.roll(100);
        f.roll(51);  // only the last Roll is printed
        const QString pdf = f.file(QStringLiteral("page.pdf"));
        f.services.nextPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
        f.services.nextPrinter->setOutputFileName(pdf);
        f.services.nextPrinter->setPageMargins(QMarginsF(kMargin, kMargin, kMargin, kMargin),
                                               QPageLayout::Millimeter);
        f.named<QAction>("actionSendToPrinter")->trigger();
        QProcess tool;
        tool.start(QStringLiteral(PDFTOTEXT_PROGRAM), {"-bbox", pdf, "-"});
        QVERIFY(tool.waitForFinished(30000));
        const QString html = QString::fromUtf8(tool.readAllStandardOutput());
        static const QRegularExpression word(QStringLiteral(
            R"re(<word xMin="([\d.]+)" yMin="([\d.]+)"[^>]*>(Alearo|Result)</word>)re"));
        QStringList placed{QString::number(html.count(QStringLiteral("<page ")))};
        for (const auto& m : word.globalMatch(html)) {  // whole mm from the margins
            placed << QStringLiteral("%1 %2,%3")
                          .arg(m.captured(3))
                          .arg(qRound(m.captured(1).toDouble() * 25.4 / 72 - kMargin))
                          .arg(qRound(m.captured(2).toDouble() * 25.4 / 72 - kMargin));
        }
        QStringList expected{"1", "Alearo 77,16", "Result 120,28"};
        for (int row = 1; row <= 50; ++row) {
            expected << QStringLiteral("Result 20,%1").arg(24 + 4 * row);
        }
        placed.sort();
        expected.sort();
        QCOMPARE(placed, expected);
        QVERIFY(f.services.errors.isEmpty());
    }

    void spoolerHandsTheFileToLpAndLearnsItsAnswer() {
        QTemporaryDir bin;
        QFile lp(bin.filePath(QStringLiteral("lp")));
        QVERIFY(lp.open(QIODevice::WriteOnly));
        lp.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.args\"\nexit \"$LP_EXIT\"\n");
        lp.close();
        QVERIFY(lp.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        const QByteArray path = qgetenv("PATH");
        const auto restorePath = qScopeGuard([path] { qputenv("PATH", path); });
        QObject context;
        for (const char* exitCode : {"0", "1", "missing"}) {
            const bool missing = QByteArray(exitCode) == "missing";
            qputenv("LP_EXIT", exitCode);
            qputenv("PATH", missing ? QByteArray("/nonexistent") : QFile::encodeName(bin.path()));
            QList<bool> answers;
            SpoolWithLp(QStringLiteral("/some folder/Results.txt"), &context,
                        [&answers](bool delivered) { answers << delivered; });
            QTRY_COMPARE(answers, QList<bool>{QByteArray(exitCode) == "0"});
        }
        QFile args(lp.fileName() + QStringLiteral(".args"));
        QVERIFY(args.open(QIODevice::ReadOnly));
        QCOMPARE(args.readAll(), QByteArray("/some folder/Results.txt\n"));
    }
};

}  // namespace alearo

QTEST_MAIN(alearo::AboutHelpPrintTest)
#include "about_help_print_test.moc"
