#include "engine/summary_lines.h"

#include "engine/text_format.h"

namespace alearo {

std::string BuildHeader(const RollState& state) {
    const int dice = state.m_nDice;
    const int sides = state.m_nDieSides;
    const int each = state.m_nEachModifier;
    const int total = state.m_nTotalModifier;
    // A negative modifier brings its own minus sign, so the sign string is
    // empty and a negative total modifier shows two spaces before it.
    const char* eachSign = each >= 0 ? "+" : "";
    const char* totalSign = total >= 0 ? "+" : "";

    std::string header;
    if (each == 0 && total == 0) {
        header = FormatText("%s%d%s%d%s", "Results for (", dice, "d", sides, ")");
    } else if (total == 0) {
        header = FormatText("%s%d%s%d%s%d%s", "(", dice, "d", sides, eachSign, each, ")");
    } else if (each == 0) {
        header = FormatText("%s%d%s%d%s%s%s%d", "(", dice, "d", sides, ") ", totalSign, " ", total);
    } else {
        header = FormatText("%s%d%s%d%s%d%s%s%s%d", "(", dice, "d", sides, eachSign, each, ") ",
                            totalSign, " ", total);
    }
    if (state.m_bDropLowest && dice >= 2) {
        header += " - lowest roll";
    }
    return header;
}

void UpdateHeaderText(RollState& state) {
    state.m_strHeader = BuildHeader(state);
}

std::int16_t CountMatches(RollState& state) {
    state.m_nMatchCount = 0;
    const int count = state.m_nResultCount;
    if (count < 1) {
        return 0;
    }
    const int target = state.m_nCheckTarget;
    int matches = 0;
    for (int i = 1; i <= count && i <= kMaxResults; ++i) {
        const int total = state.m_pTotals[static_cast<std::size_t>(i)];
        switch (state.m_nCheckMode) {
            case kCheckAtLeast:
                matches += total >= target ? 1 : 0;
                break;
            case kCheckAtMost:
                matches += total <= target ? 1 : 0;
                break;
            case kCheckEqual:
                matches += total == target ? 1 : 0;
                break;
            default:
                break;
        }
    }
    state.m_nMatchCount = static_cast<std::int16_t>(matches);
    return state.m_nMatchCount;
}

std::string BuildCheckerLine(RollState& state) {
    static constexpr const char* kPrefixes[] = {
        "Rolls greater or equal to ",
        "Rolls less or equal to ",
        "Rolls equal to ",
    };
    const int mode = state.m_nCheckMode;
    if (mode < kCheckAtLeast || mode > kCheckEqual) {
        return {};
    }
    const int matches = CountMatches(state);
    return FormatText("%s%d%s%4d", kPrefixes[mode], static_cast<int>(state.m_nCheckTarget), ": ",
                      matches);
}

void UpdateCheckerText(RollState& state) {
    state.m_strCheckResult = BuildCheckerLine(state);
}

}  // namespace alearo
