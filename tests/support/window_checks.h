#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QRegularExpression>
#include <algorithm>
#include <array>
#include <climits>
#include <optional>
#include <string>

#include "engine/die_types.h"
#include "engine/summary_lines.h"
#include "number_rule_model.h"
#include "ui/forms/control_text.h"
#include "ui/windows/control_ids.h"
#include "ui/windows/dice_dlg.h"

// Checks of what a main window shows and stores, written from what the user
// is promised rather than from the code that produces it. Each returns an
// empty string when all is well, or what went wrong.
namespace alearo::window_checks {

inline QString Text(const CDiceDlg& dialog, int id) {
    return ControlText(dialog.GetDlgItem(id));
}
inline bool Option(const CDiceDlg& dialog, int commandId) {
    return dialog.MenuCommand(commandId)->isChecked();
}
// The index of the checked button among `ids`, -1 for none.
template <class Ids>
int CheckedOf(const CDiceDlg& dialog, const Ids& ids) {
    const auto it = std::find_if(std::begin(ids), std::end(ids), [&](int id) {
        return qobject_cast<QAbstractButton*>(dialog.GetDlgItem(id))->isChecked();
    });
    return it == std::end(ids) ? -1 : int(it - std::begin(ids));
}
inline int CheckedDie(const CDiceDlg& dialog) {
    namespace id = control_id;
    return CheckedOf(
        dialog, std::array{id::kD4, id::kD6, id::kD8, id::kD10, id::kD12, id::kD20, id::kD100});
}

// The roll the controls ask for, read from the widgets alone.
inline RollState Requested(const CDiceDlg& dialog) {
    RollState asked;
    for (const NumberBox& box : kNumberBoxes) {
        asked.*box.field = std::int16_t(Text(dialog, box.editId).trimmed().toInt());
    }
    asked.m_nDieSides = kDieTypes.at(std::size_t(std::max(0, CheckedDie(dialog)))).sides;
    asked.m_bDropLowest = Option(dialog, command_id::kDropLowest);
    return asked;
}

// Whether the plain model of the number rule takes all five boxes.
inline bool FormAccepts(const CDiceDlg& dialog) {
    return std::all_of(kNumberBoxes.begin(), kNumberBoxes.end(), [&](const NumberBox& box) {
        const std::string text = Text(dialog, box.editId).toStdString();
        return number_rule_model::Load(text, box.minimum, box.maximum).status == NumberLoad::kValue;
    });
}

// A result line: "Result #", its number, ":", the total, and the dropped die
// in brackets when one was dropped (or INT_MIN). The exact columns are the
// engine's test.
struct Line {
    int number, total, dropped;
};
inline std::optional<Line> Parse(const QString& text) {
    static const QRegularExpression format(
        QStringLiteral(R"(^Result # *(\d+): *(-?\d+)(?: \((-?\d+) drpd\))?$)"));
    const auto m = format.match(text);
    return m.hasMatch() ? std::optional<Line>({m.captured(1).toInt(), m.captured(2).toInt(),
                                               m.hasCaptured(3) ? m.captured(3).toInt() : INT_MIN})
                        : std::nullopt;
}

// What holds after any action: well-formed stored lines, a results box that
// shows them, and radios and check marks that agree with the fields.
inline std::string CheckWindow(const CDiceDlg& dialog) {
    const RollState& s = dialog.State();
    for (int k = 1; k <= s.m_nResultCount; ++k) {
        const auto line = Parse(QString::fromStdString(s.m_pResultLines[std::size_t(k)]));
        if (!line || line->number != k || line->total != s.m_pTotals[std::size_t(k)]) {
            return "slot " + std::to_string(k) + " holds " + s.m_pResultLines[std::size_t(k)];
        }
    }
    const int die = CheckedDie(dialog);
    if (s.m_nResultCount < 0 || s.m_nResultCount > kMaxResults ||
        Text(dialog, control_id::kResults).toStdString() != s.m_strResults) {
        return "the results box does not show the stored results";
    } else if (die < 0 || s.m_nDieTypeIndex != die ||
               s.m_nDieSides != kDieTypes[std::size_t(die)].sides ||
               s.m_nCheckMode != CheckedOf(dialog, kCheckerRadios)) {
        return "a radio button disagrees with its field";
    } else if (Option(dialog, command_id::kNoInstantUpdate) != s.m_bNoInstantUpdate ||
               Option(dialog, command_id::kNoRollsBelowOne) != s.m_bNoRollsBelowOne ||
               Option(dialog, command_id::kDropLowest) != s.m_bDropLowest) {
        return "a menu check mark disagrees with its option";
    }
    return {};
}

// After a Roll that went ahead: the fields hold what the controls asked for,
// and the results box one line per roll, numbered, with a dropped die exactly
// when one is thrown out. (What the dice give is the engine's own test.)
inline std::string CheckRoll(const CDiceDlg& dialog, const RollState& asked) {
    const RollState& s = dialog.State();
    const QStringList lines = Text(dialog, control_id::kResults).split(QStringLiteral("\r\n"));
    bool ok = s.m_nDieSides == asked.m_nDieSides && s.m_nResultCount == asked.m_nRolls &&
              lines.size() == asked.m_nRolls;
    for (const NumberBox& box : kNumberBoxes) {
        ok = ok && s.*box.field == asked.*box.field;
    }
    const bool drops = asked.m_bDropLowest && asked.m_nDice >= 2;
    for (int k = 1; ok && k <= asked.m_nRolls; ++k) {
        const auto line = Parse(lines[k - 1]);
        ok = line && line->number == k && (line->dropped != INT_MIN) == drops;
    }
    return ok ? "" : "the Roll did not roll what the controls ask for";
}

// The checker line is the one the checked mode and the target give over the
// stored totals (the line's own wording is the engine's test).
inline std::string CheckCheckerLine(const CDiceDlg& dialog) {
    RollState counted = dialog.State();
    counted.m_nCheckMode = CheckedOf(dialog, kCheckerRadios);
    counted.m_nCheckTarget = std::int16_t(Text(dialog, control_id::kCheckTarget).trimmed().toInt());
    const QString line = Text(dialog, control_id::kCheckerLine);
    return line.toStdString() == BuildCheckerLine(counted) ? ""
                                                           : "checker line " + line.toStdString();
}

}  // namespace alearo::window_checks
