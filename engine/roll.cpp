#include "engine/roll.h"

#include "engine/random_range.h"
#include "engine/text_format.h"

namespace alearo {

namespace {

void AppendResultLine(std::string& out, int rollNumber, int total) {
    AppendFormat(out, "%s%3d%s%10d", "Result #", rollNumber, ":", total);
}

void AppendDroppedSuffix(std::string& out, int droppedDie) {
    AppendFormat(out, " %s%d%s", "(", droppedDie, " drpd)");
}

}  // namespace

std::string FormatResultLine(int rollNumber, int total) {
    std::string line;
    AppendResultLine(line, rollNumber, total);
    return line;
}

std::string FormatResultLine(int rollNumber, int total, int droppedDie) {
    std::string line = FormatResultLine(rollNumber, total);
    AppendDroppedSuffix(line, droppedDie);
    return line;
}

bool RollDice(RollState& state) {
    const int rolls = state.m_nRolls;
    if (rolls > kMaxResults) {
        return false;
    }

    state.m_strResults.clear();
    state.m_nResultCount = state.m_nRolls;
    if (rolls < 1) {
        return true;
    }

    // Even the largest values a 16-bit field can be typed into keep every sum
    // well inside 32 bits: 32767 dice of at most 100 + 32767 each.
    const int dice = state.m_nDice;
    const int sides = state.m_nDieSides;
    const int eachModifier = state.m_nEachModifier;
    const bool raiseToOne = state.m_bNoRollsBelowOne;
    const bool dropLowest = state.m_bDropLowest && dice >= 2;

    constexpr std::size_t kLongestLine = 40;
    state.m_strResults.reserve(static_cast<std::size_t>(rolls) * (kLongestLine + 2));

    for (int k = 1; k <= rolls; ++k) {
        int sum = 0;
        int lowest = 0;
        for (int die = 0; die < dice; ++die) {
            int value = RandomRange(1, sides) + eachModifier;
            if (raiseToOne && value < 1) {
                value = 1;
            }
            if (die == 0 || value < lowest) {
                lowest = value;
            }
            sum += value;
        }
        if (dropLowest) {
            sum -= lowest;
        }
        const int total = sum + state.m_nTotalModifier;

        std::string& line = state.m_pResultLines[static_cast<std::size_t>(k)];
        line.clear();
        AppendResultLine(line, k, total);
        if (dropLowest) {
            AppendDroppedSuffix(line, lowest);
        }
        state.m_strResults += line;
        if (k < rolls) {
            state.m_strResults += "\r\n";
        }
        state.m_pTotals[static_cast<std::size_t>(k)] = total;
    }
    return true;
}

void ClearEntries(RollState& state) {
    state.m_strHeader = "Entries cleared.";
    state.m_nRolls = 1;
    state.m_nDice = 1;
    state.m_strResults.clear();
    state.m_nResultCount = 0;
    state.m_nCheckTarget = 0;
    state.m_nTotalModifier = 0;
    state.m_nEachModifier = 0;
    state.m_strCheckResult.clear();
}

}  // namespace alearo
