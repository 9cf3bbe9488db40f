#include "summary_lines.h"

#include <algorithm>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

namespace alearo {
namespace {

TEST(HeaderTest, DescribesTheExpressionInEachModifierCase) {
    const struct {
        int dice, sides, each, total;
        bool drop;
        const char* header;
    } cases[] = {
        {3, 6, 0, 0, false, "Results for (3d6)"},
        {3, 6, 2, 0, false, "(3d6+2)"},
        {2, 8, -3, 0, false, "(2d8-3)"},
        {3, 6, 0, 5, false, "(3d6) + 5"},
        {3, 6, 2, 5, false, "(3d6+2) + 5"},
        {3, 6, -100, -100, false, "(3d6-100)  -100"},
        {4, 6, 0, -1, true, "(4d6)  -1 - lowest roll"},
        {2, 20, 0, 0, true, "Results for (2d20) - lowest roll"},
        {1, 20, 0, 0, true, "Results for (1d20)"},
    };
    for (const auto& c : cases) {
        RollState state;
        std::tie(state.m_nDice, state.m_nDieSides, state.m_nEachModifier, state.m_nTotalModifier,
                 state.m_bDropLowest) = std::tie(c.dice, c.sides, c.each, c.total, c.drop);
        UpdateHeaderText(state);
        EXPECT_EQ(state.m_strHeader, c.header);
    }
}

TEST(CheckerTest, CountsTheTotalsOfTheCountThatMeetTheTarget) {
    // Slots above the count stand for an older, larger Roll.
    const struct {
        std::vector<int> totals;
        int count, target, mode, matches;
        const char* line;
    } cases[] = {
        {{3, 7, 7, 12}, 4, 7, kCheckAtLeast, 3, "Rolls greater or equal to 7:    3"},
        {{3, 7, 7, 12}, 4, 7, kCheckAtMost, 3, "Rolls less or equal to 7:    3"},
        {{3, 7, 7, 12}, 4, 7, kCheckEqual, 2, "Rolls equal to 7:    2"},
        {{-5, -1, 0, 2}, 4, 0, kCheckAtLeast, 2, "Rolls greater or equal to 0:    2"},
        {{-5, -1, 0, 2}, 4, -1, kCheckAtMost, 2, "Rolls less or equal to -1:    2"},
        {{7, 1, 7, 7}, 2, 7, kCheckEqual, 1, "Rolls equal to 7:    1"},
        {{7, 7, 7}, 0, 7, kCheckEqual, 0, "Rolls equal to 7:    0"},
        {{7, 7, 7}, -4, 7, kCheckAtMost, 0, "Rolls less or equal to 7:    0"},
        {{7, 7}, 2, 7, kCheckNone, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        RollState state;
        std::copy(c.totals.begin(), c.totals.end(), state.m_pTotals.begin() + 1);
        std::tie(state.m_nResultCount, state.m_nCheckTarget, state.m_nCheckMode,
                 state.m_nMatchCount) = std::make_tuple(c.count, c.target, c.mode, 9);
        UpdateCheckerText(state);
        EXPECT_EQ(state.m_strCheckResult, c.line);
        EXPECT_EQ(state.m_nMatchCount, c.mode == kCheckNone ? 9 : c.matches) << "stored count";
        EXPECT_EQ(CountMatches(state), c.matches);
        EXPECT_EQ(state.m_nMatchCount, c.matches);
    }
}

}  // namespace
}  // namespace alearo
