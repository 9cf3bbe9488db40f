#include "roll.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "die_types.h"
#include "random_range.h"

namespace alearo {
namespace {

RandomSourceHooks FixedHooks() {
    return {[] { return std::time_t{1700000000}; }, [] { return std::uint32_t{7}; }};
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find("\r\n", start);
        lines.push_back(text.substr(start, end - start));
        if (end == std::string::npos) {
            return lines;
        }
        start = end + 2;
    }
}

// What one roll must come to, computed from the same faces the engine will
// draw: the source is reset to the same fixed seed before each side runs.
struct ExpectedRoll {
    int total;
    int lowest;
};

std::vector<ExpectedRoll> ReplayRolls(const RollState& state) {
    ResetRandomSource(FixedHooks());
    std::vector<ExpectedRoll> rolls;
    for (int k = 1; k <= state.m_nRolls; ++k) {
        std::vector<int> dice;
        for (int d = 0; d < state.m_nDice; ++d) {
            int value = RandomRange(1, state.m_nDieSides) + state.m_nEachModifier;
            if (state.m_bNoRollsBelowOne) {
                value = std::max(value, 1);
            }
            dice.push_back(value);
        }
        int sum = 0;
        for (const int v : dice) {
            sum += v;
        }
        const int lowest = dice.empty() ? 0 : *std::min_element(dice.begin(), dice.end());
        if (state.m_bDropLowest && dice.size() >= 2) {
            sum -= lowest;
        }
        rolls.push_back({sum + state.m_nTotalModifier, lowest});
    }
    ResetRandomSource(FixedHooks());
    return rolls;
}

class RollTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetRandomSource(FixedHooks()); }
    void TearDown() override { ResetRandomSource(); }
};

TEST(ResultLineTest, AlignsNumberAndTotalAndShowsTheDroppedDie) {
    EXPECT_EQ(FormatResultLine(1, 15), "Result #  1:        15");
    EXPECT_EQ(FormatResultLine(100, -7), "Result #100:        -7");
    EXPECT_EQ(FormatResultLine(1, 15, 2), "Result #  1:        15 (2 drpd)");
    EXPECT_EQ(FormatResultLine(12, 1234567890, -3), "Result # 12:1234567890 (-3 drpd)");
}

TEST_F(RollTest, OneRollOfOneDieGivesOneLineWithoutLineEnd) {
    RollState state;
    ASSERT_TRUE(RollDice(state));
    EXPECT_EQ(state.m_nResultCount, 1);
    const int total = state.m_pTotals[1];
    EXPECT_GE(total, 1);
    EXPECT_LE(total, 6);
    EXPECT_EQ(state.m_pResultLines[1], "Result #  1:         " + std::to_string(total));
    EXPECT_EQ(state.m_strResults, state.m_pResultLines[1]);
}

TEST_F(RollTest, ResultsTextJoinsTheLinesWithCrLfAndNoneAfterTheLast) {
    RollState state;
    state.m_nRolls = 3;
    state.m_nDice = 2;
    ASSERT_TRUE(RollDice(state));
    EXPECT_EQ(state.m_strResults, state.m_pResultLines[1] + "\r\n" + state.m_pResultLines[2] +
                                      "\r\n" + state.m_pResultLines[3]);
    const auto lines = SplitLines(state.m_strResults);
    ASSERT_EQ(lines.size(), 3U);
    for (int k = 1; k <= 3; ++k) {
        EXPECT_EQ(lines[static_cast<std::size_t>(k - 1)],
                  FormatResultLine(k, state.m_pTotals[static_cast<std::size_t>(k)]));
    }
}

TEST_F(RollTest, TotalsFollowTheDiceModifiersRaiseAndDrop) {
    struct Case {
        const char* name;
        int rolls, dice, sides, each, total;
        bool raise, drop;
    };
    const Case cases[] = {
        {"plain 3d6", 20, 3, 6, 0, 0, false, false},
        {"each +2 total +2", 20, 2, 6, 2, 2, false, false},
        {"drop lowest with modifiers", 20, 3, 6, -2, 5, false, true},
        {"raise then drop", 30, 4, 4, -3, -1, true, true},
        {"negative dice", 20, 2, 4, -5, 0, false, false},
        {"d100 many dice", 5, 100, 100, 100, -100, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RollState state;
        state.m_nRolls = static_cast<std::int16_t>(c.rolls);
        state.m_nDice = static_cast<std::int16_t>(c.dice);
        state.m_nDieSides = c.sides;
        state.m_nEachModifier = static_cast<std::int16_t>(c.each);
        state.m_nTotalModifier = static_cast<std::int16_t>(c.total);
        state.m_bNoRollsBelowOne = c.raise;
        state.m_bDropLowest = c.drop;
        const auto expected = ReplayRolls(state);
        ASSERT_TRUE(RollDice(state));
        ASSERT_EQ(state.m_nResultCount, c.rolls);
        for (int k = 1; k <= c.rolls; ++k) {
            const ExpectedRoll& e = expected[static_cast<std::size_t>(k - 1)];
            EXPECT_EQ(state.m_pTotals[static_cast<std::size_t>(k)], e.total) << "roll " << k;
            const std::string line = c.drop && c.dice >= 2 ? FormatResultLine(k, e.total, e.lowest)
                                                           : FormatResultLine(k, e.total);
            EXPECT_EQ(state.m_pResultLines[static_cast<std::size_t>(k)], line);
        }
    }
}

TEST_F(RollTest, EveryDieCountsOneWhenRaisedAndCanGoNegativeOtherwise) {
    RollState state;
    state.m_nRolls = 50;
    state.m_nDice = 3;
    state.m_nDieSides = 4;
    state.m_nEachModifier = -5;
    state.m_bNoRollsBelowOne = true;
    ASSERT_TRUE(RollDice(state));
    for (int k = 1; k <= 50; ++k) {
        EXPECT_EQ(state.m_pTotals[static_cast<std::size_t>(k)], 3);
    }

    state.m_bNoRollsBelowOne = false;
    ASSERT_TRUE(RollDice(state));
    for (int k = 1; k <= 50; ++k) {
        const int total = state.m_pTotals[static_cast<std::size_t>(k)];
        EXPECT_GE(total, -12);
        EXPECT_LE(total, -3);
    }
}

TEST_F(RollTest, DroppingNeedsTwoDice) {
    RollState state;
    state.m_nRolls = 5;
    state.m_bDropLowest = true;
    state.m_nDieSides = 20;
    ASSERT_TRUE(RollDice(state));
    for (int k = 1; k <= 5; ++k) {
        const std::string& line = state.m_pResultLines[static_cast<std::size_t>(k)];
        EXPECT_EQ(line.find("drpd"), std::string::npos) << line;
        EXPECT_GE(state.m_pTotals[static_cast<std::size_t>(k)], 1);
    }
}

TEST_F(RollTest, TheDroppedDieIsShownAfterItsModifierAndTheRaise) {
    // One face, so every die is known: 1 - 3 raised to 1.
    RollState state;
    state.m_nRolls = 2;
    state.m_nDice = 3;
    state.m_nDieSides = 1;
    state.m_nEachModifier = -3;
    state.m_nTotalModifier = 10;
    state.m_bNoRollsBelowOne = true;
    state.m_bDropLowest = true;
    ASSERT_TRUE(RollDice(state));
    EXPECT_EQ(state.m_pResultLines[1], "Result #  1:        12 (1 drpd)");
    EXPECT_EQ(state.m_strResults,
              "Result #  1:        12 (1 drpd)\r\nResult #  2:        12 (1 drpd)");
}

TEST_F(RollTest, TooManyRollsChangeNothing) {
    RollState state;
    state.m_nRolls = 5;
    ASSERT_TRUE(RollDice(state));
    const RollState before = state;
    for (const int rolls : {101, 150, 32767}) {
        state.m_nRolls = static_cast<std::int16_t>(rolls);
        EXPECT_FALSE(RollDice(state)) << rolls;
        EXPECT_EQ(state.m_nResultCount, before.m_nResultCount);
        EXPECT_EQ(state.m_strResults, before.m_strResults);
        EXPECT_EQ(state.m_pResultLines, before.m_pResultLines);
        EXPECT_EQ(state.m_pTotals, before.m_pTotals);
    }
    EXPECT_EQ(RandomReseedCount(), 1) << "no die may be rolled for a refused Roll";
}

TEST_F(RollTest, NoRollsEmptyTheTextAndKeepTheCountAsGiven) {
    RollState state;
    state.m_nRolls = 4;
    ASSERT_TRUE(RollDice(state));
    const auto oldLines = state.m_pResultLines;
    for (const int rolls : {0, -3}) {
        state.m_nRolls = static_cast<std::int16_t>(rolls);
        EXPECT_TRUE(RollDice(state));
        EXPECT_EQ(state.m_nResultCount, rolls);
        EXPECT_TRUE(state.m_strResults.empty());
        EXPECT_EQ(state.m_pResultLines, oldLines);
    }
}

TEST_F(RollTest, ASmallerRollLeavesStaleSlotsAboveItsCount) {
    RollState state;
    state.m_nRolls = 10;
    ASSERT_TRUE(RollDice(state));
    const auto tenLines = state.m_pResultLines;
    state.m_nRolls = 3;
    ASSERT_TRUE(RollDice(state));
    EXPECT_EQ(state.m_nResultCount, 3);
    EXPECT_EQ(SplitLines(state.m_strResults).size(), 3U);
    for (std::size_t k = 4; k <= 10; ++k) {
        EXPECT_EQ(state.m_pResultLines[k], tenLines[k]);
    }
}

TEST(ClearEntriesTest, ResetsEntriesAndKeepsDieModeOptionsAndTables) {
    RollState state;
    state.m_nRolls = 7;
    state.m_nDice = 4;
    state.m_nEachModifier = -3;
    state.m_nTotalModifier = 9;
    state.m_nCheckTarget = 12;
    state.m_nCheckMode = 2;
    state.m_nMatchCount = 5;
    state.m_bDropLowest = true;
    state.m_bNoInstantUpdate = true;
    state.m_bNoRollsBelowOne = true;
    ASSERT_TRUE(SelectDieType(state, 5));
    ASSERT_TRUE(RollDice(state));
    state.m_strCheckResult = "Rolls equal to 12:    1";
    const RollState before = state;

    ClearEntries(state);

    EXPECT_EQ(state.m_strHeader, "Entries cleared.");
    EXPECT_EQ(state.m_nRolls, 1);
    EXPECT_EQ(state.m_nDice, 1);
    EXPECT_EQ(state.m_nEachModifier, 0);
    EXPECT_EQ(state.m_nTotalModifier, 0);
    EXPECT_EQ(state.m_nCheckTarget, 0);
    EXPECT_EQ(state.m_nResultCount, 0);
    EXPECT_TRUE(state.m_strResults.empty());
    EXPECT_TRUE(state.m_strCheckResult.empty());

    EXPECT_EQ(state.m_nDieSides, 20);
    EXPECT_EQ(state.m_nDieTypeIndex, 5);
    EXPECT_EQ(state.m_nCheckMode, 2);
    EXPECT_EQ(state.m_nMatchCount, 5);
    EXPECT_TRUE(state.m_bDropLowest);
    EXPECT_TRUE(state.m_bNoInstantUpdate);
    EXPECT_TRUE(state.m_bNoRollsBelowOne);
    EXPECT_EQ(state.m_pResultLines, before.m_pResultLines);
    EXPECT_EQ(state.m_pTotals, before.m_pTotals);
}

TEST(DieTypeTest, EachChoiceNamesOneDieInBothFields) {
    const int sides[] = {4, 6, 8, 10, 12, 20, 100};
    RollState state;
    for (int index = 0; index < 7; ++index) {
        ASSERT_TRUE(SelectDieType(state, index));
        EXPECT_EQ(state.m_nDieTypeIndex, index);
        EXPECT_EQ(state.m_nDieSides, sides[index]);
        EXPECT_EQ(DieIndexForSides(sides[index]), index);
    }
    EXPECT_FALSE(SelectDieType(state, 7));
    EXPECT_FALSE(SelectDieType(state, -1));
    EXPECT_EQ(state.m_nDieSides, 100);
    EXPECT_EQ(DieIndexForSides(3), -1);
}

}  // namespace
}  // namespace alearo
