// SPDX-License-Identifier: MIT
// What an assistive tool reads of the windows, through Qt's accessibility
// interfaces, checked over every control of the main window so that a
// control added later is covered too.
#include <QAccessible>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QTableView>
#include <QTextBrowser>

#include "main_window_fixture.h"
#include "ui/model/dice_tray_model.h"
#include "ui/platform/help_window.h"
#include "ui/widgets/clickable_icon.h"
#include "ui/widgets/up_down.h"
#include "ui/windows/about_dialog.h"
#include "ui/windows/stats_window.h"

namespace alearo {

namespace {

QAccessibleInterface* Of(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}
QString NameOf(QObject* object) {
    return Of(object)->text(QAccessible::Name);
}

}  // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

  private slots:
    void everyControlIsNamedAsAPersonWouldSayIt() {
        MainWindowFixture f;
        f.named<QAction>("actionDiceTray")->trigger();  // its window is the main window's child
        int controls = 0;
        for (QWidget* widget : f.window().findChildren<QWidget*>()) {
            const QString object = widget->objectName();
            if (object.isEmpty() || object.startsWith(QLatin1String("qt_")) ||
                qobject_cast<UpDown*>(widget->parentWidget()) || qobject_cast<QMenu*>(widget) ||
                qobject_cast<QMenuBar*>(widget)) {
                continue;
            }
            ++controls;
            const QString name = NameOf(widget);
            QAccessibleInterface* parent = Of(widget)->parent();
            if (qobject_cast<UpDown*>(widget) || qobject_cast<ClickableIcon*>(widget)) {
                // The box carries the value and the Up and Down keys; the picture repeats Roll.
                QVERIFY2(Of(widget)->state().invisible && Of(widget)->childCount() == 0,
                         qPrintable(object));
            } else if (auto* label = qobject_cast<QLabel*>(widget)) {
                // An empty line (the checker's before a count) reads as its group.
                QVERIFY(label->text().isEmpty() || name == label->text().remove('&'));
            } else if (name.isEmpty() || name == object || name.contains('&') ||
                       name.endsWith(':') ||
                       (qobject_cast<QLineEdit*>(widget) &&
                        Of(widget)->relations(QAccessible::Label).isEmpty()) ||
                       (qobject_cast<QRadioButton*>(widget) &&
                        parent->role() != QAccessible::Grouping)) {
                QFAIL(qPrintable(QStringLiteral("%1 reads as \"%2\"").arg(object, name)));
            }
        }
        QVERIFY(controls >= 36);
        // Shown as a window, not as an unnamed filler.
        QCOMPARE(Of(f.named("diceTrayWindow"))->role(), QAccessible::Window);
        // The arrows sit at their box's right edge, in a window of fixed size.
        for (const char* box : {"rollsEdit", "diceEdit", "eachModifierEdit", "totalModifierEdit"}) {
            auto* edit = f.named(QLatin1String(box));
            auto* upDown = f.named<UpDown>(QLatin1String(box).chopped(4) + "UpDown");
            const QRect arrows(upDown->mapTo(&f.window(), QPoint()), upDown->size());
            const QRect boxRect(edit->mapTo(&f.window(), QPoint()), edit->size());
            QVERIFY2(std::abs(arrows.left() - boxRect.right() - 1) <= 2 &&
                         arrows.top() <= boxRect.top() + 2 && upDown->buddy() == edit,
                     box);
        }
        QVERIFY(f.window().minimumSize() == f.window().maximumSize() &&
                f.window().windowFlags().testFlag(Qt::WindowMinimizeButtonHint) &&
                !f.window().windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    }

    // A problem with the file of rolls is told in the tray's status line,
    // which takes no keys: no box opens.
    void trayTellsFileProblemsInItsStatusLine() {
        MainWindowFixture f;
        QFile inTheWay(DiceTrayModel::DataFolder());  // a file where its folder would be
        QVERIFY(QDir().mkpath(QFileInfo(inTheWay).path()) && inTheWay.open(QIODevice::WriteOnly));
        inTheWay.close();
        f.named<QAction>("actionDiceTray")->trigger();
        auto* status = f.named<QLabel>("storeStatusLine");
        QTRY_VERIFY(!status->isHidden());
        QVERIFY2(status->text().contains(QLatin1String("cannot keep its rolls")),
                 qPrintable(status->text()));
        QCOMPARE(f.services.errors, QStringList());
    }

    void menusHelpAboutAndStatisticsAreReadable() {
        MainWindowFixture f;
        QStringList items;
        for (QMenu* menu : f.named<QMenuBar>("menuBar")->findChildren<QMenu*>()) {
            QAccessibleInterface* list = Of(menu);
            for (int i = 0; i < list->childCount(); ++i) {
                const QAccessible::State state = list->child(i)->state();
                if (state.checkable || list->child(i)->text(QAccessible::Accelerator) == "F1") {
                    items << list->child(i)->text(QAccessible::Name) + ' ' +
                                 list->child(i)->text(QAccessible::Accelerator) +
                                 (state.checkable ? (state.checked ? "[x]" : "[ ]") : "");
                }
            }
        }
        QCOMPARE(items.join(QLatin1Char('|')),
                 QStringLiteral("Disable \"Instant Update\" [ ]|Disable Rolls Less Than 1 [ ]|"
                                "Throw Out Lowest Roll [ ]|Contents F1"));
        HelpWindow help;  // shows the page shipped inside the program
        help.showSection(QStringLiteral("contents"));
        for (const char* topic : {"Contents", "Throw Out Lowest Roll", "Continued...", "alear.dat",
                                  "Unable to print.", "2d20kh1+5"}) {
            QVERIFY2(help.browser()->toPlainText().contains(QLatin1String(topic)), topic);
        }
        QCOMPARE(NameOf(&help) + '|' + NameOf(help.browser()),
                 QStringLiteral("Alearo Help|Help text"));
        AboutDialog about(f.services);
        QWidget* email = about.findChild<QWidget*>("emailButton");
        QCOMPARE(Of(email)->relations(QAccessible::Label).value(0).first->text(QAccessible::Name),
                 QStringLiteral("Email me at:"));
        StatsWindow stats(f.model(), f.services, nullptr);
        QTRY_VERIFY(!stats.model().description().isEmpty());
        // The statistics window: every control by the name a person uses,
        // the box by its label, and each line by what it says.
        QCOMPARE(Of(&stats)->role(), QAccessible::Window);
        QStringList spoken;
        for (const char* name : {"statsWindow", "compareEdit", "chart", "chanceTable", "copyButton",
                                 "saveButton", "helpButton", "closeButton", "descriptionLine"}) {
            QObject* control = QLatin1String(name) == QLatin1String("statsWindow")
                                   ? static_cast<QObject*>(&stats)
                                   : stats.findChild<QWidget*>(QLatin1String(name));
            spoken << NameOf(control);
        }
        QCOMPARE(spoken.join(QLatin1Char('|')),
                 QStringLiteral("Alearo Statistics|Compare with:|Chart of the chances|Chance of "
                                "every total|Copy|Save...|Help|Close|Results for (1d6)"));
        QVERIFY(!Of(stats.findChild<QWidget*>("chart"))->text(QAccessible::Description).isEmpty());
        QAccessibleTableInterface* table = Of(stats.findChild<QTableView*>())->tableInterface();
        QCOMPARE(table->columnDescription(0) + '|' + table->columnDescription(3),
                 QStringLiteral("Total|At most"));
    }
};

}  // namespace alearo

QTEST_MAIN(alearo::AccessibilityTest)
#include "accessibility_test.moc"
