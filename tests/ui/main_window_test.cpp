#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextEdit>

#include "control_table.h"
#include "dialog_fixture.h"
#include "menu_table.h"

namespace id = control_id;

namespace {

QStringList CheckedOptions(CDiceDlg& dialog) {
    QStringList checked;
    for (const int command :
         {command_id::kNoInstantUpdate, command_id::kNoRollsBelowOne, command_id::kDropLowest}) {
        if (dialog.MenuCommand(command)->isChecked()) {
            checked << dialog.MenuCommand(command)->text();
        }
    }
    return checked;
}

int CheckedDieId(DialogFixture& fixture) {
    for (int controlId = id::kD4; controlId <= id::kD100; ++controlId) {
        if (fixture.control<QRadioButton>(controlId)->isChecked()) {
            return controlId;
        }
    }
    return -1;
}

// The texts of a menu's entries, "-" for a separator and "name>" for a submenu.
QStringList MenuEntries(const QMenu* menu) {
    QStringList entries;
    for (const QAction* action : menu->actions()) {
        if (action->isSeparator()) {
            entries << QStringLiteral("-");
        } else if (action->menu() != nullptr) {
            entries << action->text() + QLatin1Char('>');
        } else {
            entries << action->text();
        }
    }
    return entries;
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void firstStartShowsTheInitialForm() {
        DialogFixture fixture;
        QCOMPARE(fixture.dialog().windowTitle(), QStringLiteral("Alearo"));
        QCOMPARE(CheckedDieId(fixture), 1009);
        QCOMPARE(fixture.control<QLabel>(id::kHeader)->text(), QStringLiteral("Results"));
        QCOMPARE(fixture.edit(id::kRolls)->text(), QStringLiteral("1"));
        QCOMPARE(fixture.edit(id::kDice)->text(), QStringLiteral("1"));
        QCOMPARE(fixture.edit(id::kEachModifier)->text(), QStringLiteral("0"));
        QCOMPARE(fixture.edit(id::kTotalModifier)->text(), QStringLiteral("0"));
        QCOMPARE(fixture.edit(id::kCheckTarget)->text(), QStringLiteral("0"));
        QCOMPARE(fixture.control<QLabel>(id::kCheckerLine)->text(), QString());
        for (const int radio : {id::kGreaterThan, id::kLessThan, id::kEqualTo}) {
            QVERIFY(!fixture.control<QRadioButton>(radio)->isChecked());
        }
        QVERIFY(CheckedOptions(fixture.dialog()).isEmpty());
        QVERIFY(fixture.services.errors.isEmpty());
        QVERIFY(fixture.services.validationMessages.isEmpty());
        QVERIFY(!fixture.exists(QStringLiteral("alear.dat")));

        fixture.dialog().reject();
        QCOMPARE(fixture.read(QStringLiteral("alear.dat")), QByteArray("\x10", 1));
    }

    void settingsFileChoosesDieAndOptions() {
        DialogFixture fixture(false);
        fixture.write(QStringLiteral("alear.dat"), QByteArray("\x34", 1));
        fixture.Open();
        QCOMPARE(CheckedDieId(fixture), 1013);
        QCOMPARE(CheckedOptions(fixture.dialog()),
                 QStringList{QStringLiteral("Throw Out Lowest Roll")});
        QCOMPARE(fixture.dialog().State().m_nDieSides, 20);
    }

    void allOptionsAndAnUnknownDieCode() {
        DialogFixture fixture(false);
        fixture.write(QStringLiteral("alear.dat"), QByteArray("\xFF\x00", 2));
        fixture.Open();
        QCOMPARE(CheckedDieId(fixture), 1009);
        QCOMPARE(CheckedOptions(fixture.dialog()).size(), 3);
    }

    void changedDieAndOptionsAreSavedForTheNextStart() {
        DialogFixture fixture;
        QTest::mouseClick(fixture.control<QRadioButton>(1014), Qt::LeftButton);
        fixture.command(command_id::kNoRollsBelowOne);
        fixture.command(command_id::kDropLowest);
        fixture.command(command_id::kDropLowest);  // twice: back as it was
        QCOMPARE(CheckedOptions(fixture.dialog()),
                 QStringList{QStringLiteral("Disable Rolls Less Than 1")});
        fixture.dialog().reject();
        QCOMPARE(fixture.read(QStringLiteral("alear.dat")), QByteArray("\x3A", 1));

        fixture.Open();
        QCOMPARE(CheckedDieId(fixture), 1014);
        QCOMPARE(CheckedOptions(fixture.dialog()),
                 QStringList{QStringLiteral("Disable Rolls Less Than 1")});
    }

    void everyWayOfClosingSavesOnce_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Escape") << "escape";
        QTest::newRow("Cancel button") << "cancel";
        QTest::newRow("Exit command") << "exit";
        QTest::newRow("close box") << "close";
    }

    void everyWayOfClosingSavesOnce() {
        QFETCH(QString, how);
        DialogFixture fixture;
        // A folder in the way makes every save fail visibly, so each attempt
        // shows up as one error.
        QVERIFY(QDir(fixture.file(QString())).mkdir(QStringLiteral("alear.dat")));
        CDiceDlg& dialog = fixture.dialog();
        if (how == QLatin1String("escape")) {
            QTest::keyClick(fixture.edit(id::kRolls), Qt::Key_Escape);
        } else if (how == QLatin1String("cancel")) {
            QTest::mouseClick(fixture.control<QPushButton>(id::kCancel), Qt::LeftButton);
        } else if (how == QLatin1String("exit")) {
            fixture.command(command_id::kExit);
        } else {
            QVERIFY(dialog.close());
        }
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(fixture.services.errors,
                 QStringList{QStringLiteral("Error Writing to File: alear.dat")});
    }

    void closingWithAnInvalidEntryWarnsAndStillSaves() {
        DialogFixture fixture;
        QTest::mouseClick(fixture.control<QRadioButton>(1010), Qt::LeftButton);
        fixture.type(id::kRolls, QStringLiteral("150"));
        QTest::keyClick(fixture.edit(id::kRolls), Qt::Key_Escape);
        QCOMPARE(fixture.services.validationMessages,
                 QStringList{QStringLiteral("Please enter an integer between 1 and 100.")});
        QVERIFY(!fixture.dialog().isVisible());
        QCOMPARE(fixture.read(QStringLiteral("alear.dat")), QByteArray("\x18", 1));
    }

    void formHoldsEveryControlOfItsTableInTemplateOrder() {
        DialogFixture fixture;
        const FormSpec& spec = MainFormSpec();
        QWidget* form = fixture.dialog().findChild<QWidget*>(QStringLiteral("form"));
        QVERIFY(form != nullptr);
        const QObjectList children = form->children();
        QStringList made;
        for (const QObject* child : children) {
            if (child->isWidgetType()) {
                made << child->objectName();
            }
        }
        QStringList expected;
        for (const ControlSpec& control : spec.controls) {
            expected << QString::fromLatin1(control.name);
            if (control.id != -1) {
                QWidget* widget = fixture.dialog().GetDlgItem(control.id);
                QVERIFY2(widget != nullptr, control.name);
                QCOMPARE(widget->objectName(), QString::fromLatin1(control.name));
                QVERIFY(!widget->accessibleName().isEmpty());
            }
        }
        // Group boxes are lowered beneath the controls they frame, so the
        // stacking order differs; every control is there exactly once.
        made.sort();
        expected.sort();
        QCOMPARE(made, expected);

        // Controls keep their places relative to one another.
        const QRect roll = fixture.dialog().GetDlgItem(id::kRoll)->geometry();
        const QRect results = fixture.dialog().GetDlgItem(id::kResults)->geometry();
        const QRect header = fixture.dialog().GetDlgItem(id::kHeader)->geometry();
        QCOMPARE(roll.left(), results.left());
        QVERIFY(header.bottom() < results.top());
        QVERIFY(results.bottom() < roll.top());
        QVERIFY(form->rect().contains(roll));
        const QRect rolls = fixture.dialog().GetDlgItem(id::kRolls)->geometry();
        const QRect arrows = fixture.dialog().GetDlgItem(id::kRollsUpDown)->geometry();
        QCOMPARE(arrows.left(), rolls.right() + 1);
        QCOMPARE(arrows.top(), rolls.top());
    }

    void windowHasAFixedSizeAndNoMaximiseButton() {
        DialogFixture fixture;
        CDiceDlg& dialog = fixture.dialog();
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
        const Qt::WindowFlags flags = dialog.windowFlags();
        QVERIFY(flags & Qt::WindowMinimizeButtonHint);
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QVERIFY(!dialog.windowIcon().isNull());
    }

    void tabVisitsTheControlsInTemplateOrder() {
        DialogFixture fixture;
        const QList<int> order{id::kRolls,         id::kDice,        1009,        id::kEachModifier,
                               id::kTotalModifier, id::kCheckTarget, id::kCheck,  id::kRoll,
                               id::kClear,         id::kCancel,      id::kResults};
        fixture.edit(id::kRolls)->setFocus();
        for (int i = 1; i < order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), fixture.dialog().GetDlgItem(order[i]));
        }
    }

    void menuHoldsEveryEntryInItsOrder() {
        DialogFixture fixture;
        const QList<QAction*> menus = fixture.dialog().MenuBar()->actions();
        QCOMPARE(menus.size(), 3);
        QCOMPARE(menus[0]->text(), QStringLiteral("&Alearo"));
        QCOMPARE(menus[1]->text(), QStringLiteral("&Settings"));
        QCOMPARE(menus[2]->text(), QStringLiteral("&Help"));

        QCOMPARE(MenuEntries(menus[0]->menu()),
                 (QStringList{"&Roll", "&Clear Entries", "-", "&Print Results...>",
                              "&Output To File...>", "-", "E&xit"}));
        const QList<QAction*> alearo = menus[0]->menu()->actions();
        QCOMPARE(MenuEntries(alearo[3]->menu()),
                 (QStringList{"Send to Printer", "Send to Printer via Notepad"}));
        QCOMPARE(MenuEntries(alearo[4]->menu()),
                 (QStringList{"Results in Normal Format", "Results with No Text"}));
        QCOMPARE(MenuEntries(menus[1]->menu()),
                 (QStringList{"Disable \"Instant Update\"", "Disable Rolls Less Than 1",
                              "Throw Out Lowest Roll"}));
        QCOMPARE(MenuEntries(menus[2]->menu()),
                 (QStringList{"&Contents        F1", "Alearo Website", "-", "&About Alearo"}));
        for (const QAction* action : menus[1]->menu()->actions()) {
            QVERIFY(action->isCheckable());
        }
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
