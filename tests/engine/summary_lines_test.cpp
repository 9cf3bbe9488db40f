#include "summary_lines.h"

#include <initializer_list>

#include <gtest/gtest.h>

namespace alearo {
namespace {

RollState Expression(int dice, int sides, int each, int total, bool dropLowest = false) {
    RollState state;
    state.m_nDice = static_cast<std::int16_t>(dice);
    state.m_nDieSides = sides;
    state.m_nEachModifier = static_cast<std::int16_t>(each);
    state.m_nTotalModifier = static_cast<std::int16_t>(total);
    state.m_bDropLowest = dropLowest;
    return state;
}

TEST(HeaderTest, DescribesTheExpressionInEachModifierCase) {
    EXPECT_EQ(BuildHeader(Expression(3, 6, 0, 0)), "Results for (3d6)");
    EXPECT_EQ(BuildHeader(Expression(1, 100, 0, 0)), "Results for (1d100)");
    EXPECT_EQ(BuildHeader(Expression(3, 6, 2, 0)), "(3d6+2)");
    EXPECT_EQ(BuildHeader(Expression(2, 8, -3, 0)), "(2d8-3)");
    EXPECT_EQ(BuildHeader(Expression(3, 6, 0, 5)), "(3d6) + 5");
    EXPECT_EQ(BuildHeader(Expression(3, 6, 0, -5)), "(3d6)  -5");
    EXPECT_EQ(BuildHeader(Expression(3, 6, 2, 5)), "(3d6+2) + 5");
    EXPECT_EQ(BuildHeader(Expression(3, 6, 2, -5)), "(3d6+2)  -5");
    EXPECT_EQ(BuildHeader(Expression(3, 6, -100, -100)), "(3d6-100)  -100");
}

TEST(HeaderTest, NamesTheDroppedDieOnlyWithTwoOrMoreDice) {
    EXPECT_EQ(BuildHeader(Expression(4, 6, 0, -1, true)), "(4d6)  -1 - lowest roll");
    EXPECT_EQ(BuildHeader(Expression(2, 20, 0, 0, true)), "Results for (2d20) - lowest roll");
    EXPECT_EQ(BuildHeader(Expression(1, 20, 0, 0, true)), "Results for (1d20)");
}

TEST(HeaderTest, UpdateStoresTheHeaderInTheRecord) {
    RollState state = Expression(5, 12, 1, 0);
    UpdateHeaderText(state);
    EXPECT_EQ(state.m_strHeader, "(5d12+1)");
}

RollState WithTotals(std::initializer_list<int> totals, int target, int mode) {
    RollState state;
    int slot = 0;
    for (const int total : totals) {
        state.m_pTotals[static_cast<std::size_t>(++slot)] = total;
    }
    state.m_nResultCount = static_cast<std::int16_t>(slot);
    state.m_nCheckTarget = static_cast<std::int16_t>(target);
    state.m_nCheckMode = mode;
    return state;
}

TEST(CheckerTest, CountsIncludeEqualityForEachMode) {
    RollState atLeast = WithTotals({3, 7, 7, 12}, 7, kCheckAtLeast);
    RollState atMost = WithTotals({3, 7, 7, 12}, 7, kCheckAtMost);
    RollState equal = WithTotals({3, 7, 7, 12}, 7, kCheckEqual);
    EXPECT_EQ(CountMatches(atLeast), 3);
    EXPECT_EQ(CountMatches(atMost), 3);
    EXPECT_EQ(CountMatches(equal), 2);
    EXPECT_EQ(equal.m_nMatchCount, 2);
}

TEST(CheckerTest, ComparesNegativeTotalsAsSignedNumbers) {
    RollState atLeast = WithTotals({-5, -1, 0, 2}, 0, kCheckAtLeast);
    RollState atMost = WithTotals({-5, -1, 0, 2}, 0, kCheckAtMost);
    EXPECT_EQ(CountMatches(atLeast), 2);
    EXPECT_EQ(CountMatches(atMost), 3);
}

TEST(CheckerTest, NoModeNoResultsAndStaleSlotsCountNothing) {
    RollState none = WithTotals({7, 7}, 7, kCheckNone);
    none.m_nMatchCount = 9;
    EXPECT_EQ(CountMatches(none), 0);
    EXPECT_EQ(none.m_nMatchCount, 0);

    RollState cleared = WithTotals({7, 7, 7}, 7, kCheckEqual);
    cleared.m_nResultCount = 0;
    EXPECT_EQ(CountMatches(cleared), 0);
    cleared.m_nResultCount = -4;
    EXPECT_EQ(CountMatches(cleared), 0);

    RollState stale = WithTotals({7, 1, 7, 7}, 7, kCheckEqual);
    stale.m_nResultCount = 2;  // slots 3 and 4 belong to an older, larger Roll
    EXPECT_EQ(CountMatches(stale), 1);
}

TEST(CheckerTest, LineNamesTheModeTargetAndRightAlignedCount) {
    RollState atLeast = WithTotals({10, 11, 12, 3}, 10, kCheckAtLeast);
    UpdateCheckerText(atLeast);
    EXPECT_EQ(atLeast.m_strCheckResult, "Rolls greater or equal to 10:    3");

    RollState atMost = WithTotals({10, 11, 12, 3}, 10, kCheckAtMost);
    UpdateCheckerText(atMost);
    EXPECT_EQ(atMost.m_strCheckResult, "Rolls less or equal to 10:    2");

    RollState equal = WithTotals({}, 0, kCheckEqual);
    UpdateCheckerText(equal);
    EXPECT_EQ(equal.m_strCheckResult, "Rolls equal to 0:    0");
}

TEST(CheckerTest, NoModeEmptiesTheLineAndLeavesTheLastCount) {
    RollState state = WithTotals({4, 4}, 4, kCheckNone);
    state.m_strCheckResult = "Rolls equal to 4:    2";
    state.m_nMatchCount = 2;
    UpdateCheckerText(state);
    EXPECT_TRUE(state.m_strCheckResult.empty());
    EXPECT_EQ(state.m_nMatchCount, 2);
}

}  // namespace
}  // namespace alearo
