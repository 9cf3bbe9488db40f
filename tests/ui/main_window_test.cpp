#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>

#include "control_table.h"
#include "dialog_fixture.h"
#include "menu_table.h"

namespace id = control_id;

class MainWindowTest : public QObject {
    Q_OBJECT

    static QStringList CheckedOptions(CDiceDlg& dialog) {
        QStringList checked;
        for (const int command : {command_id::kNoInstantUpdate, command_id::kNoRollsBelowOne,
                                  command_id::kDropLowest}) {
            if (dialog.MenuCommand(command)->isChecked()) {
                checked << dialog.MenuCommand(command)->text();
            }
        }
        return checked;
    }

    static int CheckedDie(DialogFixture& f) {
        for (int controlId = id::kD4; controlId <= id::kD100; ++controlId) {
            if (f.control<QRadioButton>(controlId)->isChecked()) {
                return controlId;
            }
        }
        return -1;
    }

    // A menu's entries: "-" for a separator, "name>" for a submenu.
    static QStringList Entries(const QMenu* menu) {
        QStringList entries;
        for (const QAction* action : menu->actions()) {
            entries << (action->isSeparator() ? QStringLiteral("-")
                        : action->menu()      ? action->text() + QLatin1Char('>')
                                              : action->text());
        }
        return entries;
    }

  private slots:
    void firstStartShowsTheInitialFormAndSavesD6() {
        DialogFixture f;
        QCOMPARE(f.dialog().windowTitle(), QStringLiteral("Alearo"));
        QCOMPARE(CheckedDie(f), 1009);
        QCOMPARE(f.control<QLabel>(id::kHeader)->text(), QStringLiteral("Results"));
        QStringList boxes;
        for (const int box :
             {id::kRolls, id::kDice, id::kEachModifier, id::kTotalModifier, id::kCheckTarget}) {
            boxes << f.edit(box)->text();
        }
        QCOMPARE(boxes, (QStringList{"1", "1", "0", "0", "0"}));
        QCOMPARE(f.control<QLabel>(id::kCheckerLine)->text(), QString());
        for (const int radio : {id::kGreaterThan, id::kLessThan, id::kEqualTo}) {
            QVERIFY(!f.control<QRadioButton>(radio)->isChecked());
        }
        QVERIFY(CheckedOptions(f.dialog()).isEmpty());
        f.dialog().reject();
        QCOMPARE(f.read(QStringLiteral("alear.dat")), QByteArray("\x10", 1));
        QVERIFY(f.services.errors.isEmpty());
    }

    void settingsFileChoosesDieAndOptionsForTheNextStart() {
        DialogFixture f(false);
        f.write(QStringLiteral("alear.dat"), QByteArray("\x34", 1));
        f.Open();
        QCOMPARE(CheckedDie(f), 1013);
        QCOMPARE(CheckedOptions(f.dialog()), QStringList{QStringLiteral("Throw Out Lowest Roll")});

        f.click(1014);
        f.command(command_id::kNoRollsBelowOne);
        f.command(command_id::kDropLowest);
        f.command(command_id::kDropLowest);  // twice: back as it was
        f.dialog().reject();
        QCOMPARE(f.read(QStringLiteral("alear.dat")), QByteArray("\x3E", 1));
        f.Open();
        QCOMPARE(CheckedDie(f), 1014);
        QCOMPARE(CheckedOptions(f.dialog()).size(), 2);
    }

    void everyWayOfClosingSavesOnce_data() {
        QTest::addColumn<QString>("how");
        for (const char* how : {"Escape", "Cancel button", "Exit command", "close box"}) {
            QTest::newRow(how) << QString::fromLatin1(how);
        }
    }

    void everyWayOfClosingSavesOnce() {
        QFETCH(QString, how);
        DialogFixture f;
        // A folder in the way makes each save fail visibly, once per attempt.
        QVERIFY(QDir(f.file(QString())).mkdir(QStringLiteral("alear.dat")));
        if (how == QLatin1String("Escape")) {
            QTest::keyClick(f.edit(id::kRolls), Qt::Key_Escape);
        } else if (how == QLatin1String("Cancel button")) {
            f.click(id::kCancel);
        } else if (how == QLatin1String("Exit command")) {
            f.command(command_id::kExit);
        } else {
            QVERIFY(f.dialog().close());
        }
        QVERIFY(!f.dialog().isVisible());
        QCOMPARE(f.services.errors,
                 QStringList{QStringLiteral("Error Writing to File: alear.dat")});
    }

    void closingWithAnInvalidEntryWarnsAndStillSaves() {
        DialogFixture f;
        f.click(1010);
        f.type(id::kRolls, QStringLiteral("150"));
        QTest::keyClick(f.edit(id::kRolls), Qt::Key_Escape);
        QCOMPARE(f.services.validationMessages.size(), 1);
        QVERIFY(!f.dialog().isVisible());
        QCOMPARE(f.read(QStringLiteral("alear.dat")), QByteArray("\x18", 1));
    }

    void windowIsBuiltFromItsTable() {
        DialogFixture f;
        QStringList made;
        for (const QWidget* child :
             f.dialog()
                 .findChild<QWidget*>(QStringLiteral("form"))
                 ->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            made << child->objectName();
        }
        QStringList expected;
        for (const ControlSpec& control : MainFormSpec().controls) {
            expected << QString::fromLatin1(control.name);
            if (control.id != -1) {
                QCOMPARE(f.dialog().GetDlgItem(control.id)->objectName(), expected.last());
            }
        }
        // Group boxes are lowered beneath what they frame, so compare as sets.
        made.sort();
        expected.sort();
        QCOMPARE(made, expected);
        const QRect rolls = f.dialog().GetDlgItem(id::kRolls)->geometry();
        const QRect arrows = f.dialog().GetDlgItem(id::kRollsUpDown)->geometry();
        QCOMPARE(arrows.topLeft(), QPoint(rolls.right() + 1, rolls.top()));
        QCOMPARE(f.dialog().minimumSize(), f.dialog().maximumSize());
        QVERIFY(!(f.dialog().windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(f.dialog().windowFlags() & Qt::WindowMinimizeButtonHint);
    }

    void tabVisitsTheControlsInTemplateOrder() {
        DialogFixture f;
        const QList<int> order{id::kRolls,         id::kDice,        1009,        id::kEachModifier,
                               id::kTotalModifier, id::kCheckTarget, id::kCheck,  id::kRoll,
                               id::kClear,         id::kCancel,      id::kResults};
        f.edit(id::kRolls)->setFocus();
        for (int i = 1; i < order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), f.dialog().GetDlgItem(order[i]));
        }
    }

    void menuHoldsEveryEntryInItsOrder() {
        DialogFixture f;
        const QList<QAction*> menus = f.dialog().MenuBar()->actions();
        QCOMPARE(menus.size(), 3);
        QCOMPARE(Entries(menus[0]->menu()),
                 (QStringList{"&Roll", "&Clear Entries", "-", "&Print Results...>",
                              "&Output To File...>", "-", "E&xit"}));
        QCOMPARE(Entries(menus[0]->menu()->actions()[3]->menu()),
                 (QStringList{"Send to Printer", "Send to Printer via Notepad"}));
        QCOMPARE(Entries(menus[0]->menu()->actions()[4]->menu()),
                 (QStringList{"Results in Normal Format", "Results with No Text"}));
        QCOMPARE(Entries(menus[1]->menu()),
                 (QStringList{"Disable \"Instant Update\"", "Disable Rolls Less Than 1",
                              "Throw Out Lowest Roll"}));
        QCOMPARE(Entries(menus[2]->menu()),
                 (QStringList{"&Contents        F1", "Alearo Website", "-", "&About Alearo"}));
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
