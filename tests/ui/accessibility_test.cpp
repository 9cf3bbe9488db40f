// What an assistive tool reads of the windows, through Qt's accessibility
// interfaces, checked over the form's own table so that a control added
// later is covered too.
#include <QAccessible>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTableView>
#include <QTextBrowser>

#include "dialog_fixture.h"
#include "ui/platform/help_window.h"
#include "ui/windows/about_dlg.h"
#include "ui/windows/stats_window.h"
#include "ui/windows/window_tables.h"

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
    void everyControlOfTheTableIsBuiltAndNamedAsAPersonWouldSayIt() {
        DialogFixture f;
        for (const ControlSpec& control : MainFormSpec().controls) {
            QWidget* widget = f.dialog().findChild<QWidget*>(QLatin1String(control.name));
            QVERIFY2(widget && (control.id == -1 || f.control(control.id) == widget), control.name);
            const QString name = NameOf(widget);
            QAccessibleInterface* parent = Of(widget)->parent();
            if (control.kind == ControlKind::UpDown || control.kind == ControlKind::Icon) {
                // The box carries the value and the Up and Down keys; the picture repeats Roll.
                QVERIFY(Of(widget)->state().invisible && Of(widget)->childCount() == 0);
            } else if (control.kind == ControlKind::Label ||
                       control.kind == ControlKind::StaticText) {
                QCOMPARE(name, qobject_cast<QLabel*>(widget)->text().remove('&'));
            } else if (name.isEmpty() || name == widget->objectName() || name.contains('&') ||
                       name.endsWith(':') ||
                       (control.kind == ControlKind::Edit &&
                        Of(widget)->relations(QAccessible::Label).isEmpty()) ||
                       (control.kind == ControlKind::RadioButton &&
                        parent->role() != QAccessible::Grouping)) {
                QFAIL(qPrintable(QStringLiteral("%1 reads as \"%2\"").arg(control.name, name)));
            }
        }
        // The arrows sit at their box's right edge, in a window of fixed size.
        const QRect rolls = f.control(control_id::kRolls)->geometry();
        QCOMPARE(f.control(control_id::kRollsUpDown)->geometry().topLeft(),
                 QPoint(rolls.right() + 1, rolls.top()));
        QVERIFY(f.dialog().minimumSize() == f.dialog().maximumSize() &&
                f.dialog().windowFlags().testFlag(Qt::WindowMinimizeButtonHint) &&
                !f.dialog().windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    }

    void menusHelpAboutAndStatisticsAreReadable() {
        DialogFixture f;
        QStringList items;
        for (QMenu* menu : f.dialog().MenuBar()->findChildren<QMenu*>()) {
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
        HelpWindow help;
        QCOMPARE(NameOf(&help) + '|' + NameOf(help.Browser()),
                 QStringLiteral("Alearo Help|Help text"));
        CAboutDlg about(f.services);
        QWidget* email = about.GetDlgItem(control_id::kAboutEmail);
        QCOMPARE(Of(email)->relations(QAccessible::Label).value(0).first->text(QAccessible::Name),
                 QStringLiteral("Email me at:"));
        StatsWindow stats(f.dialog(), f.services);
        QVERIFY(!Of(stats.findChild<QWidget*>("chart"))->text(QAccessible::Description).isEmpty());
        QAccessibleTableInterface* table = Of(stats.findChild<QTableView*>())->tableInterface();
        QCOMPARE(table->columnDescription(0) + '|' + table->columnDescription(3),
                 QStringLiteral("Total|At most"));
    }
};

}  // namespace alearo

QTEST_MAIN(alearo::AccessibilityTest)
#include "accessibility_test.moc"
