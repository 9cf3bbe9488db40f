#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QByteArray>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTextEdit>
#include <algorithm>
#include <array>
#include <string>

#include "control_table.h"
#include "dice_dlg.h"
#include "menu_table.h"
#include "number_rule_model.h"
#include "results_file.h"
#include "roll_state.h"
#include "summary_lines.h"

// Checks of what a main window shows and stores, written from what the user
// is promised rather than from the code that produces it. Each returns an
// empty string when all is well, or what went wrong.
namespace window_invariants {

namespace id = control_id;

// What the controls say a Roll should produce, read from the widgets alone.
struct RollRequest {
    int rolls = 0;
    int dice = 0;
    int sides = 0;
    int eachModifier = 0;
    int totalModifier = 0;
    int checkTarget = 0;
    bool noneBelowOne = false;
    bool dropLowest = false;
};

// The die-type radio buttons from d4 to d100, and the sides each stands for.
inline constexpr std::array<int, 7> kDieRadios = {1008, 1009, 1010, 1011, 1012, 1013, 1014};
inline constexpr std::array<int, 7> kSidesByRadio = {4, 6, 8, 10, 12, 20, 100};
// The checker's radio buttons in mode order: at least, at most, equal.
inline constexpr std::array<int, 3> kCheckerRadios = {id::kGreaterThan, id::kLessThan,
                                                      id::kEqualTo};

template <std::size_t N>
int CheckedIndex(const CDiceDlg& dialog, const std::array<int, N>& ids) {
    int index = 0;
    for (const int buttonId : ids) {
        if (qobject_cast<QAbstractButton*>(dialog.GetDlgItem(buttonId))->isChecked()) {
            return index;
        }
        ++index;
    }
    return -1;
}

inline int CheckedDieIndex(const CDiceDlg& dialog) {
    return CheckedIndex(dialog, kDieRadios);
}

inline int CheckedCheckerIndex(const CDiceDlg& dialog) {
    return CheckedIndex(dialog, kCheckerRadios);
}

inline int BoxNumber(const CDiceDlg& dialog, int boxId) {
    return qobject_cast<QLineEdit*>(dialog.GetDlgItem(boxId))->text().trimmed().toInt();
}

inline bool OptionChecked(const CDiceDlg& dialog, int commandId) {
    return dialog.MenuCommand(commandId)->isChecked();
}

inline RollRequest ReadRequest(const CDiceDlg& dialog) {
    RollRequest request;
    request.rolls = BoxNumber(dialog, id::kRolls);
    request.dice = BoxNumber(dialog, id::kDice);
    request.sides = kSidesByRadio.at(static_cast<std::size_t>(CheckedDieIndex(dialog)));
    request.eachModifier = BoxNumber(dialog, id::kEachModifier);
    request.totalModifier = BoxNumber(dialog, id::kTotalModifier);
    request.checkTarget = BoxNumber(dialog, id::kCheckTarget);
    request.noneBelowOne = OptionChecked(dialog, command_id::kNoRollsBelowOne);
    request.dropLowest = OptionChecked(dialog, command_id::kDropLowest);
    return request;
}

// Whether the form takes the numbers in all five boxes, by the plain model of
// its rule: then a Roll loads without a message.
inline bool FormAccepts(const CDiceDlg& dialog) {
    struct Box {
        int id;
        int minimum;
        int maximum;
    };
    constexpr Box kBoxes[] = {{id::kRolls, 1, 100},
                              {id::kDice, 1, 100},
                              {id::kEachModifier, -100, 100},
                              {id::kTotalModifier, -100, 100},
                              {id::kCheckTarget, 0, 100}};
    return std::all_of(std::begin(kBoxes), std::end(kBoxes), [&dialog](const Box& box) {
        const std::string text =
            qobject_cast<QLineEdit*>(dialog.GetDlgItem(box.id))->text().toStdString();
        return number_rule_model::Load(text, box.minimum, box.maximum).status == NumberLoad::kValue;
    });
}

inline QString ResultsBoxText(const CDiceDlg& dialog) {
    return qobject_cast<QTextEdit*>(dialog.GetDlgItem(id::kResults))->toPlainText();
}

inline QString HeaderText(const CDiceDlg& dialog) {
    return qobject_cast<QLabel*>(dialog.GetDlgItem(id::kHeader))->text();
}

// "Result #" then the roll number in three columns, ":", the total in at
// least ten columns, and the dropped die in brackets when one was dropped.
struct ParsedLine {
    bool ok = false;
    int number = 0;
    int total = 0;
    bool hasDropped = false;
    int dropped = 0;
};

inline ParsedLine ParseResultLine(const QString& line) {
    static const QRegularExpression format(
        QStringLiteral(R"(^Result #([ \d]{3}):( *(-?\d+))(?: \((-?\d+) drpd\))?$)"));
    ParsedLine parsed;
    const auto match = format.match(line);
    if (!match.hasMatch()) {
        return parsed;
    }
    const QString totalField = match.captured(2);
    if (totalField.size() != std::max<qsizetype>(10, match.captured(3).size())) {
        return parsed;
    }
    parsed.number = match.captured(1).trimmed().toInt();
    parsed.total = match.captured(3).toInt();
    parsed.hasDropped = match.hasCaptured(4);
    parsed.dropped = match.captured(4).toInt();
    parsed.ok = true;
    return parsed;
}

// Every stored slot holds a well-formed line of its own number and total.
inline std::string CheckStoredResults(const alearo::RollState& state) {
    if (state.m_nResultCount < 0 || state.m_nResultCount > alearo::kMaxResults) {
        return "result count " + std::to_string(state.m_nResultCount) + " out of 0 to 100";
    }
    for (int k = 1; k <= state.m_nResultCount; ++k) {
        const auto slot = static_cast<std::size_t>(k);
        const ParsedLine line = ParseResultLine(QString::fromStdString(state.m_pResultLines[slot]));
        if (!line.ok || line.number != k || line.total != state.m_pTotals[slot]) {
            return "slot " + std::to_string(k) + " holds \"" + state.m_pResultLines[slot] + "\"";
        }
    }
    return {};
}

// Everything a Roll may change: the stored results, the results box, the
// description and the checker line.
inline std::string RollOutputs(const CDiceDlg& dialog) {
    const alearo::RollState& state = dialog.State();
    std::string outputs = std::to_string(state.m_nResultCount) + '\n';
    for (int k = 1; k <= state.m_nResultCount; ++k) {
        const auto slot = static_cast<std::size_t>(k);
        outputs += state.m_pResultLines[slot] + ' ' + std::to_string(state.m_pTotals[slot]) + '\n';
    }
    const QString checker = qobject_cast<QLabel*>(dialog.GetDlgItem(id::kCheckerLine))->text();
    return outputs + state.m_strResults + '\n' + ResultsBoxText(dialog).toStdString() + '\n' +
           HeaderText(dialog).toStdString() + '\n' + checker.toStdString();
}

// The fields a Roll loaded, the totals it may give, and whether its lines
// carry a dropped die.
inline std::string CheckRollOutcome(const CDiceDlg& dialog, const RollRequest& request) {
    const alearo::RollState& state = dialog.State();
    if (state.m_nRolls != request.rolls || state.m_nDice != request.dice ||
        state.m_nDieSides != request.sides || state.m_nEachModifier != request.eachModifier ||
        state.m_nTotalModifier != request.totalModifier ||
        state.m_nCheckTarget != request.checkTarget) {
        return "the Roll did not load the numbers in the boxes";
    }
    const QStringList lines = ResultsBoxText(dialog).split(QLatin1Char('\n'));
    if (state.m_nResultCount != request.rolls || lines.size() != request.rolls) {
        return "asked for " + std::to_string(request.rolls) + " rolls, stored " +
               std::to_string(state.m_nResultCount) + ", shown " + std::to_string(lines.size());
    }
    auto dieValue = [&](int face) {
        const int value = face + request.eachModifier;
        return request.noneBelowOne ? std::max(1, value) : value;
    };
    const int lowestDie = dieValue(1);
    const int highestDie = dieValue(request.sides);
    const bool drops = request.dropLowest && request.dice >= 2;
    const int kept = drops ? request.dice - 1 : request.dice;
    for (int k = 1; k <= request.rolls; ++k) {
        const ParsedLine line = ParseResultLine(lines[k - 1]);
        if (!line.ok || line.number != k) {
            return "line " + std::to_string(k) + " reads \"" + lines[k - 1].toStdString() + "\"";
        }
        if (line.total < kept * lowestDie + request.totalModifier ||
            line.total > kept * highestDie + request.totalModifier) {
            return "line " + std::to_string(k) + " total " + std::to_string(line.total) +
                   " cannot come from these dice";
        }
        // The dropped die is the lowest, so no kept die lies below it.
        if (line.hasDropped != drops ||
            (drops && (line.dropped < lowestDie || line.dropped > highestDie ||
                       kept * line.dropped > line.total - request.totalModifier))) {
            return "line " + std::to_string(k) + " dropped-die part is wrong: \"" +
                   lines[k - 1].toStdString() + "\"";
        }
    }
    return {};
}

// What holds after every action, whatever it was.
inline std::string CheckWindow(const CDiceDlg& dialog) {
    const alearo::RollState& state = dialog.State();
    if (std::string problem = CheckStoredResults(state); !problem.empty()) {
        return problem;
    }
    QString stored = QString::fromStdString(state.m_strResults);
    stored.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (ResultsBoxText(dialog) != stored) {
        return "the results box does not show the stored results";
    }
    if (state.m_nDieTypeIndex != CheckedDieIndex(dialog) ||
        state.m_nDieSides !=
            kSidesByRadio.at(static_cast<std::size_t>(std::max(0, CheckedDieIndex(dialog))))) {
        return "die radio, index " + std::to_string(state.m_nDieTypeIndex) + " and sides " +
               std::to_string(state.m_nDieSides) + " disagree";
    }
    if (state.m_nCheckMode != CheckedCheckerIndex(dialog)) {
        return "checker radio and mode " + std::to_string(state.m_nCheckMode) + " disagree";
    }
    if (OptionChecked(dialog, command_id::kNoInstantUpdate) != state.m_bNoInstantUpdate ||
        OptionChecked(dialog, command_id::kNoRollsBelowOne) != state.m_bNoRollsBelowOne ||
        OptionChecked(dialog, command_id::kDropLowest) != state.m_bDropLowest) {
        return "a menu check mark disagrees with its option";
    }
    return {};
}

inline std::string CheckHeaderFollowsFields(const CDiceDlg& dialog) {
    const std::string expected = alearo::BuildHeader(dialog.State());
    if (HeaderText(dialog).toStdString() != expected || dialog.State().m_strHeader != expected) {
        return "header \"" + HeaderText(dialog).toStdString() + "\", fields give \"" + expected +
               "\"";
    }
    return {};
}

// The checker line ends in the count of stored totals meeting the target,
// counted here from the tables.
inline std::string CheckCheckerCount(const CDiceDlg& dialog) {
    const alearo::RollState& state = dialog.State();
    const QString line =
        qobject_cast<QLabel*>(dialog.GetDlgItem(id::kCheckerLine))->text().trimmed();
    const int mode = CheckedCheckerIndex(dialog);
    if (mode < 0) {
        return line.isEmpty() ? std::string() : "a checker line with no mode chosen";
    }
    const int target = BoxNumber(dialog, id::kCheckTarget);
    int matches = 0;
    for (int k = 1; k <= state.m_nResultCount; ++k) {
        const int total = state.m_pTotals[static_cast<std::size_t>(k)];
        matches += (mode == 0 && total >= target) || (mode == 1 && total <= target) ||
                   (mode == 2 && total == target);
    }
    const QString shown = line.section(QLatin1Char(' '), -1);
    if (shown != QString::number(matches)) {
        return "checker line \"" + line.toStdString() + "\", counted " + std::to_string(matches);
    }
    return {};
}

// The normal results file: rows of slot r and, after 16 spaces, slot r + 47;
// then "Continued..." and the slots from 95 on, every line ended by CR LF.
inline std::string CheckNormalResultsFile(const QByteArray& bytes, const alearo::RollState& state) {
    if (!bytes.endsWith("\r\n")) {
        return "the file does not end with CR LF";
    }
    QList<QByteArray> rows = bytes.split('\n');
    rows.removeLast();
    QList<int> found;
    qsizetype continuedAfter = -1;  // how many slots came before "Continued..."
    for (QByteArray row : rows) {
        if (!row.endsWith('\r')) {
            return "a line without CR LF";
        }
        row.chop(1);
        if (row == "Continued...") {
            if (continuedAfter >= 0) {
                return "\"Continued...\" appears twice";
            }
            continuedAfter = found.size();
            continue;
        }
        const qsizetype gap = row.indexOf(QByteArray(16, ' ') + "Result #");
        const QList<QByteArray> cells =
            gap < 0 ? QList<QByteArray>{row} : QList<QByteArray>{row.left(gap), row.mid(gap + 16)};
        for (const QByteArray& cell : cells) {
            const ParsedLine line = ParseResultLine(QString::fromLatin1(cell));
            if (!line.ok || line.number < 1 || line.number > state.m_nResultCount ||
                cell.toStdString() != state.m_pResultLines[static_cast<std::size_t>(line.number)]) {
                return "the file holds \"" + cell.toStdString() + "\"";
            }
            found << line.number;
        }
    }
    const int count = state.m_nResultCount;
    QList<int> expected;
    for (int r = 1; r <= std::min(count, 47); ++r) {
        expected << r;
        if (r + 47 <= count) {
            expected << r + 47;
        }
    }
    for (int k = 95; k <= count; ++k) {
        expected << k;
    }
    if (found != expected || continuedAfter != (count >= 95 ? 94 : -1)) {
        return "the file's rows do not lay out slots 1 to " + std::to_string(count);
    }
    return {};
}

inline std::string CheckNumbersOnlyFile(const QByteArray& bytes, const alearo::RollState& state) {
    QList<QByteArray> lines = bytes.split('\n');
    if (lines.takeLast() != "" || lines.size() != state.m_nResultCount) {
        return "the numbers-only file does not hold one line per result";
    }
    for (int k = 1; k <= state.m_nResultCount; ++k) {
        const QByteArray& line = lines[k - 1];
        bool ok = false;
        const int total = line.chopped(1).toInt(&ok);
        if (!line.endsWith('\r') || !ok || total != state.m_pTotals[static_cast<std::size_t>(k)] ||
            QByteArray::number(total) + '\r' != line) {
            return "numbers-only line " + std::to_string(k) + " reads \"" + line.toStdString() +
                   "\"";
        }
    }
    return {};
}

}  // namespace window_invariants
