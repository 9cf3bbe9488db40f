// SPDX-License-Identifier: MIT
#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTextEdit>
#include <algorithm>
#include <array>
#include <string>

#include "engine/die_type.h"
#include "engine/texts.h"
#include "ui/windows/main_window.h"

// Checks of what a main window shows, written from what the player is
// promised rather than from the code that produces it. Each returns an empty
// string when all is well, or what went wrong.
namespace alearo::window_checks {

using Entry = RollerModel::Entry;

// The boxes' object names, in the order of RollerModel::kEntries.
inline constexpr std::array<const char*, 5> kBoxNames{
    "rollsEdit", "diceEdit", "eachModifierEdit", "totalModifierEdit", "checkTargetEdit"};
inline constexpr std::array<const char*, 7> kDieNames{
    "d4Radio", "d6Radio", "d8Radio", "d10Radio", "d12Radio", "d20Radio", "d100Radio"};
inline constexpr std::array<const char*, 3> kModeNames{"greaterThanRadio", "lessThanRadio",
                                                       "equalToRadio"};
inline constexpr std::array<const char*, 3> kOptionNames{
    "actionNoInstantUpdate", "actionNoRollsBelowOne", "actionDropLowest"};

template <class Widget = QWidget>
Widget* Child(const MainWindow& window, const char* name) {
    return window.findChild<Widget*>(QLatin1String(name));
}
inline QString BoxText(const MainWindow& window, Entry entry) {
    return Child<QLineEdit>(window, kBoxNames[std::size_t(entry)])->text();
}
// The index of the checked button among `names`, -1 for none.
template <class Names>
int CheckedOf(const MainWindow& window, const Names& names) {
    const auto it = std::find_if(names.begin(), names.end(), [&](const char* name) {
        return Child<QAbstractButton>(window, name)->isChecked();
    });
    return it == names.end() ? -1 : int(it - names.begin());
}
inline bool Option(const MainWindow& window, int option) {
    return Child<QAction>(window, kOptionNames[std::size_t(option)])->isChecked();
}

// The roll the widgets ask for, read from them alone.
struct Asked {
    int rolls, dice, sides;
    bool drop;
};
inline Asked Requested(const MainWindow& window) {
    const auto number = [&](Entry e) { return BoxText(window, e).trimmed().toInt(); };
    return {number(Entry::Rolls), number(Entry::Dice),
            kDieTypes.at(std::size_t(std::max(0, CheckedOf(window, kDieNames)))).sides,
            Option(window, 2)};
}

// A result line: its number, its total, and whether it names a dropped die.
struct Line {
    int number, total;
    bool dropped;
};
inline std::optional<Line> Parse(const QString& text) {
    static const QRegularExpression format(
        QStringLiteral(R"(^Result # *(\d+): *(-?\d+)(?: \((-?\d+) drpd\))?$)"));
    const auto m = format.match(text);
    return m.hasMatch() ? std::optional<Line>({m.captured(1).toInt(), m.captured(2).toInt(),
                                               m.hasCaptured(3)})
                        : std::nullopt;
}
inline QStringList ShownLines(const MainWindow& window) {
    const QString text = Child<QTextEdit>(window, "resultsBox")->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

// What holds after any action: the widgets show what the model says, and
// the shown result lines are numbered and carry the model's totals.
inline std::string CheckWindow(MainWindow& window) {
    const RollerModel& m = window.model();
    for (const Entry entry : RollerModel::kEntries) {
        if (BoxText(window, entry) != m.entryText(entry)) {
            return std::string(kBoxNames[std::size_t(entry)]) + " differs from the model";
        }
    }
    const QStringList lines = ShownLines(window);
    if (QString(lines.join(QLatin1String("\r\n"))) != m.resultsText()) {
        return "the results box does not show the results";
    }
    for (int k = 0; k < int(m.results().size()) && k < lines.size(); ++k) {
        const auto line = Parse(lines[k]);
        if (!line || line->number != k + 1 || line->total != m.results()[std::size_t(k)].total) {
            return "line " + std::to_string(k + 1) + " reads " + lines[k].toStdString();
        }
    }
    if (CheckedOf(window, kDieNames) != m.dieIndex() ||
        CheckedOf(window, kModeNames) != static_cast<int>(m.checkMode())) {
        return "a radio button disagrees with the model";
    }
    if (Option(window, 0) != m.noInstantUpdate() || Option(window, 1) != m.noRollsBelowOne() ||
        Option(window, 2) != m.dropLowest()) {
        return "a menu check mark disagrees with its option";
    }
    if (Child<QLabel>(window, "headerLine")->text() != m.description() ||
        Child<QLabel>(window, "checkerLine")->text() != m.checkerLine()) {
        return "a line disagrees with the model";
    }
    return {};
}

// After a Roll that went ahead: one line per roll asked for, of the dice
// asked for, with a dropped die exactly when one is thrown out.
inline std::string CheckRoll(MainWindow& window, const Asked& asked) {
    const RollerModel& m = window.model();
    bool ok = m.rolledAs() && m.rolledAs()->sides == asked.sides &&
              m.rolledAs()->dice == asked.dice && int(m.results().size()) == asked.rolls &&
              ShownLines(window).size() == asked.rolls;
    for (const QString& text : ShownLines(window)) {
        const auto line = Parse(text);
        ok = ok && line && line->dropped == (asked.drop && asked.dice >= 2);
    }
    return ok ? "" : "the Roll did not roll what the boxes ask for";
}

// The checker line is the one the checked mode and the typed target give
// over the results (the line's own wording is the engine's test).
inline std::string CheckCheckerLine(MainWindow& window) {
    const Checker checker{static_cast<CheckMode>(CheckedOf(window, kModeNames)),
                          BoxText(window, Entry::CheckTarget).trimmed().toInt()};
    const QString line = Child<QLabel>(window, "checkerLine")->text();
    const std::string expected =
        CheckerLine(checker, CountMatches(checker, window.model().results()));
    return line.toStdString() == expected ? "" : "checker line " + line.toStdString();
}

}  // namespace alearo::window_checks
