#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QTimer>

#include "about_dlg.h"
#include "control_table.h"
#include "dialog_fixture.h"
#include "help_window.h"
#include "menu_table.h"

class AboutAndHelpTest : public QObject {
    Q_OBJECT

    // Opens the About box from the Help menu and runs `check` on it while it
    // is up; the box is closed afterwards even when a check failed.
    static void WithAboutBox(DialogFixture& f, const std::function<void(CAboutDlg*)>& check) {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* about = f.dialog().findChild<CAboutDlg*>();
            QVERIFY(about != nullptr && about->isModal());
            seen = true;
            check(about);
            if (about->isVisible()) {
                about->reject();
            }
        });
        f.command(command_id::kAbout);
        QVERIFY(seen);
    }

    static QString Text(const QWidget* dialog, const char* name) {
        return dialog->findChild<QLabel*>(QString::fromLatin1(name))->text();
    }

  private slots:
    void aboutBoxShowsItsTextsAndClosesWithOk() {
        DialogFixture f;
        WithAboutBox(f, [](CAboutDlg* about) {
            QCOMPARE(about->windowTitle(), QStringLiteral("About Alearo"));
            QCOMPARE(Text(about, "versionLine"), QStringLiteral("Alearo Version 2.1"));
            QCOMPARE(Text(about, "questionsLine"),
                     QStringLiteral("Questions, comments, suggestions?"));
            QCOMPARE(Text(about, "emailLabel"), QStringLiteral("Email me at:"));
            auto* email = qobject_cast<QPushButton*>(about->GetDlgItem(1048));
            QCOMPARE(email->text(), QStringLiteral("support@alearo.example.org"));
            QVERIFY(email->width() >= email->sizeHint().width());  // the address is not cut off
            QVERIFY(about->rect().contains(email->geometry()));
            QTest::mouseClick(qobject_cast<QPushButton*>(about->GetDlgItem(1)), Qt::LeftButton);
            QVERIFY(!about->isVisible());
        });
        QVERIFY(f.dialog().isVisible());
        QVERIFY(!f.exists(QStringLiteral("alear.dat")));  // nothing closed the program
    }

    void linksOpenTheirAddressesAndReportFailure() {
        DialogFixture f;
        f.command(command_id::kWebsite);
        WithAboutBox(f, [&f](CAboutDlg* about) {
            auto* email = about->GetDlgItem(1048);
            QTest::mouseClick(email, Qt::LeftButton);
            f.services.urlsOpen = false;
            QTest::mouseClick(email, Qt::LeftButton);
            QVERIFY(about->isVisible());
            QTest::keyClick(about, Qt::Key_Escape);
        });
        f.command(command_id::kWebsite);
        QCOMPARE(f.services.openedUrls,
                 (QList<QUrl>{QUrl(QStringLiteral("https://alearo.example.org/updates")),
                              QUrl(QStringLiteral("mailto:support@alearo.example.org")),
                              QUrl(QStringLiteral("mailto:support@alearo.example.org")),
                              QUrl(QStringLiteral("https://alearo.example.org/updates"))}));
        QCOMPARE(f.services.errors,
                 (QStringList{QStringLiteral("Could not open your email program."),
                              QStringLiteral("Could not open Alearo website.")}));
    }

    void f1AnywhereAndTheMenuOpenHelp() {
        DialogFixture f;
        QTest::keyClick(f.edit(control_id::kDice), Qt::Key_F1);
        QTest::keyClick(f.dialog().GetDlgItem(control_id::kResults), Qt::Key_F1);
        f.command(command_id::kHelpContents);
        QCOMPARE(f.services.helpShown, 3);
    }

    void helpWindowShowsTheShippedPage() {
        HelpWindow help;
        help.ShowContents();
        QVERIFY(help.isVisible());
        const QString text = help.Browser()->toPlainText();
        for (const char* topic :
             {"Contents", "Throw Out Lowest Roll", "Results with No Text", "Continued...",
              "alear.dat", "Error while printing. Unable to print."}) {
            QVERIFY2(text.contains(QString::fromLatin1(topic)), topic);
        }
    }
};

QTEST_MAIN(AboutAndHelpTest)
#include "about_and_help_test.moc"
