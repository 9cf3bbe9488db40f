// SPDX-License-Identifier: MIT
// The main window used as a player would. Each scenario is a script of
// steps separated by "; ", controls named by their object names. An action
// is a verb and its words: type BOX TEXT, keys CONTROL TEXT, key
// CONTROL|window KEY, click CONTROL, dclick CONTROL, step UPDOWN DELTA
// [TIMES], menu ITEM, open (a new window; the old one goes unclosed), close,
// closebox, write FILE HEX, mkdir NAME, readonly FILE, printer PDF, spool
// 1|0, urls 1|0, saveto|openfrom FILE (the file the player picks next),
// answer N (to the next question), and message TEXT or error TEXT for each
// message the user must have seen by the end, in order. A check is
// VIEW[ ARG]=TEXT, where the view is what the window shows now (see Views).
#include <QAbstractButton>
#include <QAccessible>
#include <QLabel>
#include <QListView>
#include <QMenuBar>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSet>
#include <QTextEdit>
#include <QToolButton>
#include <functional>

#include "engine/die_type.h"
#include "main_window_fixture.h"
#include "output/results_file.h"
#include "ui/model/saved_rolls_model.h"
#include "ui/widgets/accessibility.h"
#include "ui/widgets/up_down.h"

namespace alearo {

using Entry = RollerModel::Entry;

// The radio buttons of the checker's modes in the order of their indexes;
// the boxes, dice and options are named from the model's and engine's tables.
const std::array<const char*, 3> kModeNames{"greaterThanRadio", "lessThanRadio", "equalToRadio"};
QString BoxName(Entry entry) {
    return QLatin1String(RollerModel::InfoOf(entry).key) + QLatin1String("Edit");
}
std::vector<QString> DieNames() {
    std::vector<QString> names;
    names.reserve(kDieTypes.size());
    for (const DieType& die : kDieTypes) {
        names.push_back(QLatin1String(die.label) + QLatin1String("Radio"));
    }
    return names;
}

template <class Widget = QWidget>
Widget* Child(const MainWindow& window, const QString& name) {
    return window.findChild<Widget*>(name);
}
QString BoxText(const MainWindow& window, Entry entry) {
    return Child<QLineEdit>(window, BoxName(entry))->text();
}
// The index of the checked button among `names`, -1 for none.
template <class Names>
int CheckedOf(const MainWindow& window, const Names& names) {
    const auto it = std::find_if(names.begin(), names.end(), [&](const auto& name) {
        return Child<QAbstractButton>(window, QString(name))->isChecked();
    });
    return it == names.end() ? -1 : int(it - names.begin());
}
bool Option(const MainWindow& window, int option) {
    const char* const names[] = {"actionNoInstantUpdate", "actionNoRollsBelowOne",
                                 "actionDropLowest"};
    return Child<QAction>(window, QLatin1String(names[option]))->isChecked();
}

// What holds after any action: the widgets show what the model says.
std::string CheckWindow(MainWindow& window) {
    const RollerModel& m = window.model();
    QString results = Child<QTextEdit>(window, "resultsBox")->toPlainText();
    const bool shown =
        std::all_of(RollerModel::kEntries.begin(), RollerModel::kEntries.end(),
                    [&](Entry e) { return BoxText(window, e) == m.entryText(e); }) &&
        results.replace(QLatin1Char('\n'), QLatin1String("\r\n")) == m.resultsText() &&
        CheckedOf(window, DieNames()) == m.dieIndex() &&
        CheckedOf(window, kModeNames) == static_cast<int>(m.checkMode()) &&
        Option(window, 0) == m.noInstantUpdate() && Option(window, 1) == m.noRollsBelowOne() &&
        Option(window, 2) == m.dropLowest() &&
        Child<QLabel>(window, "headerLine")->text() == m.description() &&
        Child<QLabel>(window, "checkerLine")->text() == m.checkerLine();
    return shown ? "" : "the window does not show what its model says";
}

class MainWindowTest : public QObject {
    Q_OBJECT

    using Action = std::function<void(const QStringList& words, const QString& rest)>;
    using View = std::function<QString(const QString& arg)>;

    static QHash<QString, Action> Actions(MainWindowFixture& f, QStringList& messages,
                                          QStringList& errors) {
        auto named = [&f](const QString& name) { return Named(f, name); };
        auto after = [](const QString& rest) { return rest.section(QLatin1Char(' '), 1); };
        auto yes = [](const QString& rest) { return rest == QLatin1String("1"); };
        return {
            {"type",
             [=](auto& w, auto& r) {
                 MainWindowFixture::Type(qobject_cast<QLineEdit*>(named(w[0])), after(r));
             }},
            {"keys", [=](auto& w, auto& r) { QTest::keyClicks(named(w[0]), after(r)); }},
            // A key in a control, or in the menu of that title ("&Help"), opened.
            {"key",
             [=, &f](auto& w, auto&) {
                 for (QAction* menu : MenuBar(f)->actions()) {
                     menu->text() == w[0] ? MenuBar(f)->setActiveAction(menu) : void();
                 }
                 QWidget* target = w[0][0] == '&' ? QApplication::activePopupWidget() : named(w[0]);
                 QApplication::setActiveWindow(target->window());  // no window manager here
                 QTest::keySequence(target, QKeySequence(w[1]));
             }},
            {"click", [=](auto&, auto& r) { QTest::mouseClick(named(r), Qt::LeftButton); }},
            {"dclick",
             [=](auto&, auto& r) {
                 QTest::mouseDClick(named(r), Qt::LeftButton);
                 QTest::mouseRelease(named(r), Qt::LeftButton);
             }},
            {"step",
             [=](auto& w, auto&) {
                 for (int i = w.value(2, QStringLiteral("1")).toInt(); i > 0; --i) {
                     qobject_cast<UpDown*>(named(w[0]))->step(w[1].toInt());
                 }
             }},
            {"menu",
             [&f](auto&, auto& r) {
                 for (QAction* action : MenuItems(f)) {
                     if (!action->menu() && action->text().remove(QLatin1Char('&')) == r) {
                         return action->trigger();
                     }
                 }
                 QFAIL(qPrintable(r));
             }},
            {"open", [&f](auto&, auto&) { f.open(); }},
            {"close", [&f](auto&, auto&) { f.window().reject(); }},
            {"closebox", [&f](auto&, auto&) { f.window().close(); }},
            {"write",
             [&f](auto& w, auto&) {
                 QFile file(f.file(w[0]));
                 QVERIFY(file.open(QIODevice::WriteOnly) &&
                         file.write(QByteArray::fromHex(w[1].toLatin1())));
             }},
            {"mkdir", [&f](auto&, auto& r) { QVERIFY(QDir(f.file(QString())).mkdir(r)); }},
            {"readonly",
             [&f](auto&, auto& r) { QFile::setPermissions(f.file(r), QFileDevice::ReadOwner); }},
            {"printer",
             [&f](auto&, auto& r) {
                 f.services.nextPrinter = std::make_unique<QPrinter>();
                 f.services.nextPrinter->setOutputFileName(f.file(r));
             }},
            {"spool", [&f, yes](auto&, auto& r) { f.services.finishSpool(yes(r)); }},
            {"urls", [&f, yes](auto&, auto& r) { f.services.urlsOpen = yes(r); }},
            {"message", [&messages](auto&, auto& r) { messages << r; }},
            {"saveto", [&f](auto&, auto& r) { f.services.saveFile = f.file(r); }},
            {"openfrom", [&f](auto&, auto& r) { f.services.openFile = f.file(r); }},
            // What an assistive tool's action does (a die or mode's "Toggle").
            {"act",
             [=](auto&, auto& r) {
                 QAccessibleActionInterface* actions = Of(named(r))->actionInterface();
                 actions->doAction(actions->actionNames().constFirst());
             }},
            {"error", [&errors](auto&, auto& r) { errors << r; }},
            {"answer", [&f](auto&, auto& r) { f.services.answers << r.toInt(); }},
        };
    }

    // What the window shows, as text to compare.
    static QHash<QString, View> Views(MainWindowFixture& f, const QStringList& announced) {
        auto w = [&f]() -> MainWindow& { return f.window(); };
        auto bits = [](bool bit) { return bit ? '1' : '0'; };
        return {
            {"boxes",
             [=](auto&) {
                 QStringList boxes;
                 for (const Entry entry : RollerModel::kEntries) {
                     boxes << BoxText(w(), entry);
                 }
                 return boxes.join(QLatin1Char(' '));
             }},
            // The value the model took from a box.
            {"field",
             [=](auto& box) {
                 const auto& boxes = RollerModel::kEntries;
                 const auto at = std::find_if(boxes.begin(), boxes.end(),
                                              [&](Entry e) { return BoxName(e) == box; });
                 return QString::number(w().model().entryValue(*at));
             }},
            {"count", [=](auto&) { return QString::number(w().model().results().size()); }},
            // The die, the checker mode and the three options' check marks.
            {"choices",
             [=](auto&) {
                 return QString::asprintf(
                     "%s %d %c%c%c", kDieTypes.at(std::size_t(CheckedOf(w(), DieNames()))).label,
                     CheckedOf(w(), kModeNames), bits(Option(w(), 0)), bits(Option(w(), 1)),
                     bits(Option(w(), 2)));
             }},
            {"spoken", [&f](auto& name) { return Of(Named(f, name))->text(QAccessible::Name); }},
            {"announced", [&announced](auto&) { return announced.join(QLatin1Char(' ')); }},
            {"said", [&announced](auto& name) { return QString::number(announced.count(name)); }},
            {"checker", [=](auto&) { return Child<QLabel>(w(), "checkerLine")->text(); }},
            // The dice of the results, "-" without any.
            {"rolled",
             [=](auto&) {
                 const std::optional<RollSpec>& rolled = w().model().rolledAs();
                 return rolled ? QStringLiteral("%1d%2").arg(rolled->dice).arg(rolled->sides)
                               : QStringLiteral("-");
             }},
            {"box",
             [=](auto&) {
                 return Child<QTextEdit>(w(), QStringLiteral("resultsBox"))
                     ->toPlainText()
                     .replace(QLatin1Char('\n'), QLatin1Char('|'));
             }},
            {"focus", [](auto&) { return QApplication::focusWidget()->objectName(); }},
            {"selected",
             [](auto&) {
                 return qobject_cast<QLineEdit*>(QApplication::focusWidget())->selectedText();
             }},
            {"file",
             [&f](auto& name) {
                 return f.exists(name) ? QString::fromLatin1(f.read(name).toHex())
                                       : QStringLiteral("-");
             }},
            // Which format the results file holds.
            {"written",
             [&f](auto&) {
                 const std::string text = f.read(QStringLiteral("Results.txt")).toStdString();
                 const auto& results = f.model().results();
                 return text == ResultsFileText(results, ResultsFormat::kNormal)        ? "normal"
                        : text == ResultsFileText(results, ResultsFormat::kNumbersOnly) ? "numbers"
                                                                                        : "neither";
             }},
            {"menu", [](auto&) { return QApplication::activePopupWidget() ? "open" : "closed"; }},
            // Printers chosen, and files spooled: Results.txt in the window's folder.
            {"asked",
             [&f](auto&) {
                 const QString results =
                     QFileInfo(f.file(QStringLiteral("Results.txt"))).absoluteFilePath();
                 return QStringLiteral("%1 %2")
                     .arg(f.services.printerChoices)
                     .arg(f.services.spooledFiles.count(results));
             }},
            {"help", [&f](auto&) { return f.services.helpShown.join(QLatin1Char(',')); }},
            {"errors", [&f](auto&) { return f.services.errors.join(QLatin1Char('|')); }},
            // A line's text (semicolons read as commas), or "closed" with its window.
            {"text",
             [&f](auto& name) {
                 auto* line = qobject_cast<QLabel*>(Named(f, name));
                 return line->window()->isVisible() ? line->text().replace(';', ',')
                                                    : QStringLiteral("closed");
             }},
            // A table copied ("clipboard") or saved: its line count and first total's line.
            {"table",
             [&f](auto& where) {
                 const QStringList lines =
                     (where == QLatin1String("clipboard") ? f.services.clipboard
                                                          : QString::fromLatin1(f.read(where)))
                         .split(QLatin1Char('\n'));
                 return QStringLiteral("%1 lines, ").arg(lines.size()) +
                        lines.value(1).replace(QLatin1Char('\t'), QLatin1Char(','));
             }},
            // Where Tab goes from the focused control, eleven times.
            {"tabs",
             [](auto&) {
                 QStringList visited;
                 for (int i = 0; i < 11; ++i) {
                     QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                     visited << QApplication::focusWidget()->objectName();
                 }
                 return visited.join(QLatin1Char(' '));
             }},
            // Every menu and item in its order: "-" for a separator.
            {"menus",
             [&f](auto&) {
                 QStringList entries;
                 for (const QAction* action : MenuItems(f)) {
                     entries << (action->menu() ? action->menu()->title() + QLatin1Char(':')
                                 : action->isSeparator() ? QStringLiteral("-")
                                                         : action->text());
                 }
                 return entries.join(QLatin1Char('|'));
             }},
            {"url", [&f](auto&) { return f.services.openedUrls.last().toString(); }},
            {"edit", [&f](auto& name) { return qobject_cast<QLineEdit*>(Named(f, name))->text(); }},
            // The dice tray's lists: how many rolls the history shows (or one
            // as a screen reader reads it), and the saved rolls' names in the
            // list's order.
            {"history",
             [&f](auto& row) {
                 const QAbstractItemModel* history = f.named<QListView>("historyView")->model();
                 const QModelIndex entry = history->index(row.toInt(), 0);
                 return row.isEmpty() ? QString::number(history->rowCount())
                                      : entry.data(Qt::AccessibleTextRole).toString();
             }},
            // How many questions were asked, and each whose answers share a mnemonic letter.
            {"mnemonics",
             [&f](auto&) {
                 QString told = QStringLiteral("%1 asked").arg(f.services.asked.size());
                 for (const QStringList& answers : f.services.asked) {
                     const QString letters = answers.join(QString()).toLower().replace(
                         QRegularExpression(QStringLiteral("[^&]*&(.)[^&]*")),
                         QStringLiteral("\\1"));
                     if (QSet<QChar>(letters.begin(), letters.end()).size() < letters.size()) {
                         told += QLatin1String(", sharing a letter: ") + answers.join('|');
                     }
                 }
                 return told;
             }},
            {"saved",
             [&f](auto&) {
                 const QAbstractItemModel* saved = f.named<QListView>("savedView")->model();
                 QStringList names;
                 for (int row = 0; row < saved->rowCount(); ++row) {
                     names << saved->index(row, 0).data(SavedRollsModel::kNameRole).toString();
                 }
                 return names.join(QLatin1Char('|'));
             }},
        };
    }

    static QMenuBar* MenuBar(MainWindowFixture& f) { return f.named<QMenuBar>("menuBar"); }
    // The menus and their items in their order, each menu before its items.
    static QList<QAction*> MenuItems(MainWindowFixture& f) {
        QList<QAction*> items;
        std::function<void(const QList<QAction*>&)> walk = [&](const QList<QAction*>& actions) {
            for (QAction* action : actions) {
                items << action;
                if (action->menu()) {
                    walk(action->menu()->actions());
                }
            }
        };
        walk(MenuBar(f)->actions());
        return items;
    }
    static QAccessibleInterface* Of(QObject* object) {
        return QAccessible::queryAccessibleInterface(object);
    }
    static QWidget* Named(MainWindowFixture& f, const QString& name) {
        return name == QLatin1String("window") ? &f.window() : f.named(name);
    }

  private slots:
    // What no window check sees of the arrows: a held arrow lets go when
    // another window takes the mouse.
    void aHeldArrowStopsWhenAnotherWindowBlocksItsOwn() {
        QWidget window;
        auto* upDown = new UpDown(&window);
        upDown->setBuddy(new QLineEdit(&window));
        upDown->setRange(1, 100);
        window.show();
        auto* up = upDown->findChild<QToolButton*>(QStringLiteral("up"));
        QTest::mousePress(up, Qt::LeftButton);
        QTRY_VERIFY(upDown->position() > 3);  // held: it repeats
        QEvent blocked(QEvent::WindowBlocked);
        QApplication::sendEvent(&window, &blocked);
        const int held = upDown->position();
        QTest::qWait(3 * up->autoRepeatInterval() + up->autoRepeatDelay());
        QVERIFY(upDown->position() == held && !up->isDown());
    }

    void scenario_data();
    void scenario() {
        QFETCH(QString, script);
        MainWindowFixture f;
        QStringList messages, errors;
        const QHash<QString, Action> actions = Actions(f, messages, errors);
        QStringList announced;  // the lines whose new text assistive tools were told
        WatchAnnouncements([&announced](QWidget* line) { announced << line->objectName(); });
        const auto stopWatching = qScopeGuard([] { WatchAnnouncements({}); });
        const QHash<QString, View> views = Views(f, announced);
        for (const QString& step : script.split(QStringLiteral("; "))) {
            const QString check = step.section(QLatin1Char('='), 0, 0);
            const QString verb = step.section(QLatin1Char(' '), 0, 0);
            if (views.contains(check.section(QLatin1Char(' '), 0, 0)) &&
                step.contains(QLatin1Char('='))) {
                // Chances come from another thread: a line may show them a moment later.
                const QString expected = step.section(QLatin1Char('='), 1);
                QString shown;
                const bool same = QTest::qWaitFor([&] {
                    shown = views[check.section(QLatin1Char(' '), 0, 0)](
                        check.section(QLatin1Char(' '), 1));
                    return shown == expected;
                });
                QVERIFY2(same, qPrintable(step + QStringLiteral(", shown: ") + shown));
            } else {
                QVERIFY2(actions.contains(verb), qPrintable(step));
                actions[verb](step.section(QLatin1Char(' '), 1).split(QLatin1Char(' ')),
                              step.section(QLatin1Char(' '), 1));
                QVERIFY2(!QTest::currentTestFailed(), qPrintable(step));
            }
        }
        // Some answers come from the tray's store, on a thread of its own.
        QTRY_COMPARE(f.services.messages, messages);
        QTRY_COMPARE(f.services.errors, errors);
        QCOMPARE(f.window().isVisible() ? CheckWindow(f.window()) : std::string(), std::string());
    }
};

void MainWindowTest::scenario_data() {
    QTest::addColumn<QString>("script");
    const auto row = [](const char* name, const char* script) {
        QTest::newRow(name) << QString::fromUtf8(script);
    };
    // clang-format off
    // Start and close.
    row("first start", "focus=MainWindow; text headerLine=Results; boxes=1 1 0 0 0; choices=d6 -1 000; checker=; close; file alear.dat=10");
    row("the tab order", "click rollsEdit; tabs=diceEdit d6Radio eachModifierEdit totalModifierEdit checkTargetEdit greaterThanRadio checkButton rollButton clearButton cancelButton resultsBox");
    row("the menus", "menus=&Alearo:|&Roll|&Clear Entries|&Statistics...|Dice &Tray...|-|&Print Results...:|Send to Printer|Send to Printer via Notepad|&Output To File...:|Results in Normal Format|Results with No Text|-|E&xit|&Settings:|Disable \"Instant Update\"|Disable Rolls Less Than 1|Throw Out Lowest Roll|&Help:|&Contents|Alearo Website|-|&About Alearo");
    row("the settings choose die and options", "write alear.dat 34; open; choices=d20 -1 001; click d100Radio; menu Disable Rolls Less Than 1; menu Throw Out Lowest Roll; menu Throw Out Lowest Roll; close; file alear.dat=3e; open; choices=d100 -1 011");
    row("every way of closing saves", "mkdir alear.dat; key rollsEdit Escape; text headerLine=closed; open; click cancelButton; text headerLine=closed; open; menu Exit; text headerLine=closed; open; closebox; text headerLine=closed; error Error Writing to File: alear.dat; error Error Writing to File: alear.dat; error Error Writing to File: alear.dat; error Error Writing to File: alear.dat");
    row("closing with a wrong entry", "click d8Radio; type rollsEdit 150; key rollsEdit Escape; message Please enter an integer between 1 and 100.; text headerLine=closed; file alear.dat=18");
    // Rolling and typing.
    row("arrows move within the die group", "click d20Radio; key d20Radio Down; choices=d100 -1 000; key d100Radio Up; key d20Radio Up; choices=d12 -1 000; text headerLine=Results for (1d12)");
    row("keys reach no box at first", "key window Up; key window Return; count=1; boxes=1 1 0 0 0");
    row("the die picture rolls once", "type rollsEdit 3; click rollIcon; count=3; rolled=1d6; type rollsEdit 6; dclick rollIcon; count=3");
    row("a refused Roll keeps the results", "type rollsEdit 3; click rollButton; menu Disable \"Instant Update\"; type eachModifierEdit 5; type rollsEdit 150; click rollButton; message Please enter an integer between 1 and 100.; focus=rollsEdit; selected=150; field rollsEdit=150; field eachModifierEdit=0; count=3; type rollsEdit 32768; menu Roll; message Please enter an integer.; field rollsEdit=150; count=3");
    row("Enter in the results box breaks the line", "keys resultsBox note; key resultsBox Return; keys resultsBox more; click checkButton; box=note|more; count=0; click clearButton; box=; click rollButton; count=1");
    row("rolls and dice take digits only", "type rollsEdit -a1b2.; type diceEdit 3x; boxes=12 3 0 0 0");
    row("choosing a mode with a wrong target says so once", "type checkTargetEdit 101; click equalToRadio; message Please enter an integer between 0 and 100.; focus=checkTargetEdit; selected=101; checker=Rolls equal to 101:    0");
    row("a lone minus is reported at once", "type eachModifierEdit -; message Please enter an integer.; selected=-; menu Disable \"Instant Update\"; type totalModifierEdit -; boxes=1 1 - - 0");
    row("arrows go on from their own position", "type rollsEdit 7; key rollsEdit Up; boxes=2 1 0 0 0; field rollsEdit=2; key diceEdit Down; step totalModifierUpDown -1 120; boxes=2 1 0 -100 0; step totalModifierUpDown 1 220; step rollsUpDown 1 120; boxes=100 1 0 100 0");
    // Output.
    row("no output before a Roll or after Clear", "menu Results in Normal Format; menu Send to Printer; menu Send to Printer via Notepad; click rollButton; menu Clear Entries; menu Results with No Text; menu Send to Printer; menu Send to Printer via Notepad; file Results.txt=-; asked=0 0");
    row("both formats write the last Roll", "menu Throw Out Lowest Roll; type diceEdit 3; type rollsEdit 100; click rollButton; type rollsEdit 12; click rollButton; menu Results in Normal Format; written=normal; menu Results with No Text; written=numbers");
    row("an unwritable results file is kept", "write Results.txt 6b6565700d0a; readonly Results.txt; click rollButton; menu Results in Normal Format; menu Results with No Text; error Error Writing to File: Results.txt; error Error Writing to File: Results.txt; file Results.txt=6b6565700d0a");
    row("printing via the text file", "type rollsEdit 60; click rollButton; menu Send to Printer via Notepad; asked=0 1; written=normal; spool 1; errors=; menu Send to Printer via Notepad; spool 0; error Error while delivering file. Unable to print.; asked=0 2");
    row("a late answer for a closed window", "click rollButton; menu Send to Printer via Notepad; open; spool 0");
    row("a file that was not written is not spooled", "click rollButton; mkdir Results.txt; menu Send to Printer via Notepad; error Error Writing to File: Results.txt; asked=0 0");
    row("a cancelled or failed print job", "click rollButton; menu Send to Printer; asked=1 0; file page.pdf=-; printer no such folder/page.pdf; menu Send to Printer; error Error while printing. Unable to print.");
    // Help and links.
    row("F1 anywhere and the menu open help", "key diceEdit F1; key resultsBox F1; menu Contents; key &Settings F1; menu=closed; help=contents,contents,contents,contents");
    row("the website opens or is reported", "menu Alearo Website; errors=; url=https://alearo.example.org/updates; urls 0; menu Alearo Website; error Could not open Alearo website.");
    // The statistics window.
    row("the chances follow the form", "menu Statistics...; text descriptionLine=Results for (1d6); type diceEdit 3; text descriptionLine=Results for (3d6); said descriptionLine=2; text summaryLine=Lowest 3, highest 18, mean 10.50, standard deviation 2.96, median 10, most likely 10 and 11.; menu Disable \"Instant Update\"; type eachModifierEdit 2; text descriptionLine=(3d6+2); text headerLine=Results for (3d6)");
    row("an invalid box keeps the last chances", "menu Disable \"Instant Update\"; menu Statistics...; type diceEdit 3; type diceEdit 300; text descriptionLine=Results for (30d6); text statusLine=The Dice box holds no valid number, the chances shown are for the form before it.; type diceEdit 2; text statusLine=");
    row("chances beside the results", "type rollsEdit 20; type diceEdit 3; type checkTargetEdit 12; click greaterThanRadio; click rollButton; menu Statistics...; text checkerChanceLine=Chance that one roll reaches 12: 37.5%, expected 7.5 of 20 rolls. 8 of 20 rolls reached 12, expected 7.5, 8 or more happens 49.2% of the time.; text fairnessLine=The totals fit the chances of this roll (chi-square 0.05, 2 degrees of freedom, p = 0.97).; type rollsEdit 5; text checkerChanceLine=Chance that one roll reaches 12: 37.5%, expected 1.9 of 5 rolls. 8 of 20 rolls reached 12, expected 7.5, 8 or more happens 49.2% of the time.; type eachModifierEdit 1; text statusLine=The results were rolled as (3d6), roll again to compare.; text fairnessLine=Roll to test these dice for fairness.");
    row("the table is copied and saved", "type diceEdit 3; menu Statistics...; text descriptionLine=Results for (3d6); key statsWindow Ctrl+C; table clipboard=18 lines, 3,0.00462962962963,1,0.00462962962963; saveto table.csv; click saveButton; table table.csv=18 lines, 3,0.00462962962963,1,0.00462962962963\r; saveto no folder/table.csv; click saveButton; error Error Writing to File: table.csv");
    row("help and Escape in the statistics window", "menu Statistics...; key statsWindow F1; help=statistics; key statsWindow Escape; text descriptionLine=closed; menu Statistics...; close; text descriptionLine=closed");
    // Assistive tools.
    row("the lines announce their changes", "type rollsEdit 3; key rollsEdit Return; menu Disable \"Instant Update\"; type diceEdit 2; click d10Radio; click lessThanRadio; click clearButton; announced=headerLine headerLine checkerLine headerLine checkerLine; spoken headerLine=Entries cleared.");
    row("the dice tray rolls what is typed", "key window Ctrl+T; type expressionEdit 2d; key expressionEdit Return; text expressionErrorLine=Column 3: Put the number of faces after \"d\", as in d6, d% or dF.; history=0; type expressionEdit 1d1+4; type labelEdit Check; key expressionEdit Return; text expressionErrorLine=; text lastRollLine=Check, 1d1+4: 5. Die 1.; said lastRollLine=1; key historyView Return; history=2; said lastRollLine=2");
    row("saved rolls from the keyboard", "menu Dice Tray...; type expressionEdit 1d1+4; type labelEdit Check; key labelEdit Return; click saveEntryButton; type expressionEdit 1d1+2; type labelEdit; click addSavedButton; saved=Check|1d1+2; key savedView Ctrl+2; history=2; text lastRollLine=1d1+2: 3. Die 1.; key savedView Home; key savedView Alt+Down; saved=1d1+2|Check; key savedView Delete; saved=1d1+2; key savedView Ctrl+Z; saved=1d1+2|Check; type filterEdit che; saved=Check; history 0=Check, 1d1+4: 5. Die 1. Chances: top 100%, bottom 100%.; key savedView Home; key savedView Return; history=3; text lastRollLine=Check, 1d1+4: 5. Die 1. Chances: top 100%, bottom 100%.");
    row("the tray's exports say why they fail", "menu Dice Tray...; saveto no folder/rolls.json; click exportSavedButton; saveto no folder/history.csv; click exportHistoryButton; error Error Writing to File: rolls.json; error Error Writing to File: history.csv");
    row("compare a roll, clear only when sure, a letter for each answer", "menu Dice Tray...; type expressionEdit 2d6; click addSavedButton; saveto rolls.json; click exportSavedButton; openfrom rolls.json; answer 0; click importButton; saved=2d6; key expressionEdit Return; key historyView Home; click compareButton; edit compareEdit=2d6; answer 1; click clearHistoryButton; history=1; answer 0; click clearHistoryButton; history=0; mnemonics=3 asked");
    row("a person's names for the controls", "spoken rollsEdit=Rolls; spoken diceEdit=Dice; spoken eachModifierEdit=Each roll; spoken totalModifierEdit=Total; spoken checkTargetEdit=Check for; spoken resultsBox=Results; spoken dieTypeGroup=Die Type; spoken rollCheckerGroup=Roll Checker");
    row("an assistive tool's action chooses as a click", "click d10Radio; act d4Radio; act equalToRadio; type rollsEdit 100; key rollsEdit Return; text headerLine=Results for (1d4); rolled=1d4; checker=Rolls equal to 0:    0");
    // clang-format on
}

}  // namespace alearo

QTEST_MAIN(alearo::MainWindowTest)
#include "main_window_test.moc"
