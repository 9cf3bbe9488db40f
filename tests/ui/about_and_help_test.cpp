#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include "about_dlg.h"
#include "control_table.h"
#include "dialog_fixture.h"
#include "help_window.h"
#include "menu_table.h"

namespace {

QString TextOf(const QWidget* dialog, const char* name) {
    const auto* label = dialog->findChild<QLabel*>(QString::fromLatin1(name));
    return label != nullptr ? label->text() : QString();
}

// Runs `check` on the About box as soon as the menu command has opened it.
void WithAboutBox(DialogFixture& fixture, const std::function<void(CAboutDlg*)>& check) {
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* about = fixture.dialog().findChild<CAboutDlg*>();
        QVERIFY(about != nullptr);
        QVERIFY(about->isModal());
        seen = true;
        check(about);
        // A failed check must not leave the modal box waiting for input.
        if (about->isVisible()) {
            about->reject();
        }
    });
    fixture.command(command_id::kAbout);
    QVERIFY(seen);
}

}  // namespace

class AboutAndHelpTest : public QObject {
    Q_OBJECT

  private slots:
    void aboutBoxShowsVersionTextsAndAddress() {
        DialogFixture fixture;
        WithAboutBox(fixture, [](CAboutDlg* about) {
            QCOMPARE(about->windowTitle(), QStringLiteral("About Alearo"));
            QCOMPARE(TextOf(about, "versionLine"), QStringLiteral("Alearo Version 2.1"));
            QCOMPARE(TextOf(about, "questionsLine"),
                     QStringLiteral("Questions, comments, suggestions?"));
            QCOMPARE(TextOf(about, "emailLabel"), QStringLiteral("Email me at:"));
            QVERIFY(!TextOf(about, "authorLine").isEmpty());
            QVERIFY(!TextOf(about, "termsLine").isEmpty());
            auto* email = qobject_cast<QPushButton*>(about->GetDlgItem(1048));
            QCOMPARE(email->text(), QStringLiteral("support@alearo.example.org"));
            // Nothing is cut off: the button is as wide as its address needs.
            QVERIFY2(
                email->width() >= email->sizeHint().width(),
                qPrintable(
                    QStringLiteral("%1 < %2").arg(email->width()).arg(email->sizeHint().width())));
            QVERIFY(about->rect().contains(email->geometry()));
            auto* ok = qobject_cast<QPushButton*>(about->GetDlgItem(1));
            QVERIFY(ok->isDefault());
            QTest::mouseClick(ok, Qt::LeftButton);
        });
    }

    void aboutBoxClosesWithEscapeAndLeavesTheMainWindowAsItWas() {
        DialogFixture fixture;
        fixture.type(control_id::kRolls, QStringLiteral("5"));
        QTest::keyClick(fixture.edit(control_id::kRolls), Qt::Key_Return);
        const std::string results = fixture.dialog().State().m_strResults;
        WithAboutBox(fixture, [](CAboutDlg* about) { QTest::keyClick(about, Qt::Key_Escape); });
        QVERIFY(fixture.dialog().isVisible());
        QCOMPARE(fixture.dialog().State().m_strResults, results);
        QVERIFY(fixture.services.errors.isEmpty());
        QVERIFY(!fixture.exists(QStringLiteral("alear.dat")));  // nothing closed the program
    }

    void emailButtonOpensTheAddressAndReportsFailure() {
        DialogFixture fixture;
        WithAboutBox(fixture, [&fixture](CAboutDlg* about) {
            auto* email = qobject_cast<QPushButton*>(about->GetDlgItem(1048));
            QTest::mouseClick(email, Qt::LeftButton);
            QCOMPARE(fixture.services.openedUrls.last(),
                     QUrl(QStringLiteral("mailto:support@alearo.example.org")));
            QVERIFY(fixture.services.errors.isEmpty());

            fixture.services.urlsOpen = false;
            QTest::mouseClick(email, Qt::LeftButton);
            QCOMPARE(fixture.services.errors,
                     QStringList{QStringLiteral("Could not open your email program.")});
            QVERIFY(about->isVisible());
            about->reject();
        });
    }

    void websiteCommandOpensTheUpdatesPageAndReportsFailure() {
        DialogFixture fixture;
        fixture.command(command_id::kWebsite);
        QCOMPARE(fixture.services.openedUrls,
                 QList<QUrl>{QUrl(QStringLiteral("https://alearo.example.org/updates"))});
        QVERIFY(fixture.services.errors.isEmpty());

        fixture.services.urlsOpen = false;
        fixture.command(command_id::kWebsite);
        QCOMPARE(fixture.services.errors,
                 QStringList{QStringLiteral("Could not open Alearo website.")});
        QVERIFY(fixture.dialog().isVisible());
    }

    void f1AnywhereAndTheMenuOpenHelp() {
        DialogFixture fixture;
        QTest::keyClick(fixture.edit(control_id::kDice), Qt::Key_F1);
        QCOMPARE(fixture.services.helpShown, 1);
        QTest::keyClick(fixture.dialog().GetDlgItem(control_id::kResults), Qt::Key_F1);
        QCOMPARE(fixture.services.helpShown, 2);
        fixture.command(command_id::kHelpContents);
        QCOMPARE(fixture.services.helpShown, 3);
    }

    void helpWindowShowsTheShippedPageAtItsContents() {
        HelpWindow help;
        help.ShowContents();
        QVERIFY(help.isVisible());
        const QString text = help.Browser()->toPlainText();
        QVERIFY2(text.contains(QStringLiteral("Contents")), qPrintable(text.left(200)));
        // The page covers what a player meets: every option and both files.
        for (const char* topic :
             {"Disable \"Instant Update\"", "Disable Rolls Less Than 1", "Throw Out Lowest Roll",
              "Results in Normal Format", "Results with No Text", "Send to Printer via Notepad",
              "Continued...", "alear.dat", "Error while printing. Unable to print."}) {
            QVERIFY2(text.contains(QString::fromLatin1(topic)), topic);
        }
    }
};

QTEST_MAIN(AboutAndHelpTest)
#include "about_and_help_test.moc"
