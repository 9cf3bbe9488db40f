#include "roll.h"

#include <algorithm>
#include <climits>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "die_types.h"
#include "random_range.h"
#include "summary_lines.h"

namespace alearo {
namespace {

RandomSourceHooks FixedHooks() {
    return {[] { return std::time_t{1700000000}; }, [] { return std::uint32_t{7}; }};
}

TEST(ResultLineTest, AlignsNumberAndTotalAndShowsTheDroppedDie) {
    EXPECT_EQ(FormatResultLine(1, 15), "Result #  1:        15");
    EXPECT_EQ(FormatResultLine(100, -7, 2), "Result #100:        -7 (2 drpd)");
    EXPECT_EQ(FormatResultLine(12, 1234567890, -3), "Result # 12:1234567890 (-3 drpd)");
}

// The totals and results text one Roll must give, worked out die by die from
// the faces the engine will draw: the source restarts from the same seed, and
// is left so for the Roll itself.
std::pair<std::vector<int>, std::string> ReplayRolls(const RollState& state) {
    ResetRandomSource(FixedHooks());
    const bool drop = state.m_bDropLowest && state.m_nDice >= 2;
    std::pair<std::vector<int>, std::string> replay;
    for (int k = 1; k <= state.m_nRolls; ++k) {
        int sum = 0;
        int lowest = INT_MAX;
        for (int d = 0; d < state.m_nDice; ++d) {
            int value = RandomRange(1, state.m_nDieSides) + state.m_nEachModifier;
            value = state.m_bNoRollsBelowOne ? std::max(value, 1) : value;
            sum += value;
            lowest = std::min(lowest, value);
        }
        const int total = sum - (drop ? lowest : 0) + state.m_nTotalModifier;
        replay.first.push_back(total);
        replay.second += (k > 1 ? "\r\n" : "") +
                         (drop ? FormatResultLine(k, total, lowest) : FormatResultLine(k, total));
    }
    ResetRandomSource(FixedHooks());
    return replay;
}

TEST(RollTest, TotalsFollowTheDiceModifiersRaiseAndDrop) {
    // The sixth case has one die, which drops nothing.
    const struct {
        int rolls, dice, sides, each, total;
        bool raise, drop;
    } cases[] = {
        {100, 3, 6, 0, 0, false, false},      {20, 2, 6, 2, 2, false, false},
        {20, 3, 6, -2, 5, false, true},       {30, 4, 4, -3, -1, true, true},
        {20, 2, 4, -5, 0, false, false},      {5, 1, 20, 0, 0, false, true},
        {5, 100, 100, 100, -100, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        RollState state;
        std::tie(state.m_nRolls, state.m_nDice, state.m_nDieSides, state.m_nEachModifier,
                 state.m_nTotalModifier, state.m_bNoRollsBelowOne, state.m_bDropLowest) =
            std::tie(c.rolls, c.dice, c.sides, c.each, c.total, c.raise, c.drop);
        const auto [totals, text] = ReplayRolls(state);
        ASSERT_TRUE(RollDice(state));
        ASSERT_EQ(state.m_nResultCount, c.rolls);
        EXPECT_EQ(state.m_strResults, text);
        EXPECT_EQ(std::vector<int>(&state.m_pTotals[1], &state.m_pTotals[1] + c.rolls), totals);
        std::string lines;
        for (int k = 1; k <= c.rolls; ++k) {
            lines += (k > 1 ? "\r\n" : "") + state.m_pResultLines[k];
        }
        EXPECT_EQ(lines, text);
    }
}

TEST(RollTest, CountsOutsideTheTablesAndSmallerRollsKeepOlderSlots) {
    ResetRandomSource(FixedHooks());
    RollState state;
    state.m_nRolls = 10;
    ASSERT_TRUE(RollDice(state));
    const RollState ten = state;
    for (const std::int16_t rolls : {101, 32767}) {
        state.m_nRolls = rolls;
        EXPECT_FALSE(RollDice(state)) << rolls;
        EXPECT_EQ(
            std::tie(state.m_nResultCount, state.m_strResults, state.m_pResultLines,
                     state.m_pTotals),
            std::tie(ten.m_nResultCount, ten.m_strResults, ten.m_pResultLines, ten.m_pTotals));
    }
    EXPECT_EQ(RandomReseedCount(), 1) << "no die may be rolled for a refused Roll";

    state.m_nRolls = 3;
    ASSERT_TRUE(RollDice(state));
    EXPECT_TRUE(
        std::equal(&ten.m_pResultLines[4], &ten.m_pResultLines[11], &state.m_pResultLines[4]));
    const auto threeLines = state.m_pResultLines;
    for (const std::int16_t rolls : {0, -3}) {  // no line, but the count as given
        state.m_nRolls = rolls;
        EXPECT_TRUE(RollDice(state));
        EXPECT_EQ(std::tie(state.m_nResultCount, state.m_strResults, state.m_pResultLines),
                  std::make_tuple(rolls, "", threeLines));
    }
}

TEST(ClearEntriesTest, ResetsEntriesAndKeepsDieModeOptionsAndTables) {
    RollState state;
    std::tie(state.m_nRolls, state.m_nDice, state.m_nEachModifier, state.m_nTotalModifier,
             state.m_nCheckTarget, state.m_nResultCount, state.m_nMatchCount, state.m_nCheckMode) =
        std::make_tuple(7, 4, -3, 9, 12, 7, 5, kCheckEqual);
    state.m_bDropLowest = state.m_bNoInstantUpdate = state.m_bNoRollsBelowOne = true;
    ASSERT_TRUE(SelectDieType(state, 5));
    state.m_pTotals[7] = 12;
    state.m_pResultLines[7] = state.m_strResults = state.m_strCheckResult = "some text";

    ClearEntries(state);

    EXPECT_EQ(std::tie(state.m_strHeader, state.m_strResults, state.m_strCheckResult),
              std::make_tuple("Entries cleared.", "", ""));
    EXPECT_EQ(std::tie(state.m_nRolls, state.m_nDice, state.m_nEachModifier, state.m_nTotalModifier,
                       state.m_nCheckTarget, state.m_nResultCount),
              std::make_tuple(1, 1, 0, 0, 0, 0));
    EXPECT_EQ(std::tie(state.m_nDieSides, state.m_nDieTypeIndex, state.m_nCheckMode,
                       state.m_nMatchCount, state.m_pTotals[7], state.m_pResultLines[7]),
              std::make_tuple(20, 5, kCheckEqual, 5, 12, "some text"));
    EXPECT_TRUE(state.m_bDropLowest && state.m_bNoInstantUpdate && state.m_bNoRollsBelowOne);
}

TEST(DieTypeTest, EachChoiceNamesOneDieInBothFields) {
    const int sides[] = {4, 6, 8, 10, 12, 20, 100};
    RollState state;
    for (int index = 0; index < 7; ++index) {
        ASSERT_TRUE(SelectDieType(state, index));
        EXPECT_EQ(std::tie(state.m_nDieTypeIndex, state.m_nDieSides),
                  std::make_tuple(index, sides[index]));
    }
    EXPECT_FALSE(SelectDieType(state, 7));
    EXPECT_FALSE(SelectDieType(state, -1));
    EXPECT_EQ(std::tie(state.m_nDieTypeIndex, state.m_nDieSides), std::make_tuple(6, 100));
}

}  // namespace
}  // namespace alearo
