#include <algorithm>
#include <climits>
#include <cstdlib>
#include <set>
#include <tuple>

#include <gtest/gtest.h>

#include "engine/die_types.h"
#include "engine/random_range.h"
#include "engine/roll.h"
#include "engine/summary_lines.h"
#include "engine/text_format.h"
#include "test_files.h"

namespace alearo {

// The faces themselves, and so the seeds and when they change, are pinned by
// the transcript below; this is what it does not reach: ranges given either
// way round, and ranges at the ends of int.
TEST(RandomRange, GivesEveryValueOfTheRangeAndNoOtherInEitherOrder) {
    ResetRandomSource({[] { return std::time_t{1700000000}; }, [] { return 42U; }});
    constexpr int kTop = INT_MAX, kBottom = INT_MIN;
    const std::pair<int, int> ranges[] = {
        {1, 1}, {-3, 2}, {1, 6},           {1, 100},
        {6, 1}, {2, -3}, {kTop - 1, kTop}, {kBottom + 2, kBottom}};
    for (const auto& [lo, hi] : ranges) {
        std::set<int> seen;
        for (int i = 0; i < 1000; ++i) {
            seen.insert(RandomRange(lo, hi));
        }
        EXPECT_EQ(std::make_tuple(seen.size(), *seen.begin(), *seen.rbegin()),
                  std::make_tuple(std::abs(hi - lo) + 1U, std::min(lo, hi), std::max(lo, hi)));
    }
    // A draw is below 2^31, so a span of 2^32 leaves it unreduced: the value
    // lies in the lower half of the range, and reaches its top quarter.
    int most = kBottom;
    for (int i = 0; i < 2000; ++i) {
        most = std::max(most, RandomRange(kTop, kBottom));
    }
    EXPECT_TRUE(most < 0 && most > kBottom / 2) << most;
}

// What a Roll leaves: the totals up to the count, slot 100 for the slots above
// the count that a smaller Roll keeps, and the results text.
std::string Rolled(const RollState& s) {
    std::string totals;
    for (int k = 1; k <= std::min<int>(s.m_nResultCount, kMaxResults); ++k) {
        AppendFormat(totals, " %d", s.m_pTotals[k]);
    }
    return FormatText("%d results:%s | slot 100: %s = %d\n%s\n", s.m_nResultCount, totals.c_str(),
                      s.m_pResultLines[100].c_str(), s.m_pTotals[100], s.m_strResults.c_str());
}

// One record goes through a series of entries as in the window: the header
// of each entry, its Roll, the checker line in each mode, then a die choice
// and Clear. The source restarts from fixed seeds, so the golden text pins
// every face, and so the seeds and the reseeds on calls 1, 1001 and 2001 (the
// first Roll throws 2000 dice), as well as every text, count and field.
TEST(Engine, SeriesOfEntriesRollsChecksAndClearsAsTheGoldenTranscriptSays) {
    ResetRandomSource({[] { return std::time_t{1700000000}; }, [] { return 7U; }});
    // rolls, dice, sides, modifier of each die and of the total, raise, drop,
    // and the checker's target
    const std::tuple<int, int, int, int, int, bool, bool, int> entries[] = {
        {100, 20, 6, 0, 0, false, false, 70},   {20, 3, 6, 2, 0, false, false, 12},
        {20, 2, 8, -3, 0, true, false, 1},      {101, 3, 6, 0, 5, false, false, 15},
        {30, 4, 4, 0, -1, true, true, 6},       {20, 3, 6, 2, 5, false, true, 17},
        {30, 4, 4, -3, -1, false, true, -1},    {20, 2, 20, 0, 0, false, true, 21},
        {0, 2, 10, 0, 0, false, false, 5},      {1, 1, 20, 0, 0, false, true, 10},
        {5, 3, 100, -100, -100, true, true, 1},
    };
    RollState state;
    std::string text;
    for (const auto& entry : entries) {
        std::tie(state.m_nRolls, state.m_nDice, state.m_nDieSides, state.m_nEachModifier,
                 state.m_nTotalModifier, state.m_bNoRollsBelowOne, state.m_bDropLowest,
                 state.m_nCheckTarget) = entry;
        UpdateHeaderText(state);
        const bool rolled = RollDice(state);
        AppendFormat(text, "%s: %s after %ld reseeds\n", state.m_strHeader.c_str(),
                     rolled ? "rolled" : "refused", RandomReseedCount());
        for (const int mode : {kCheckNone, kCheckAtLeast, kCheckAtMost, kCheckEqual}) {
            std::tie(state.m_nCheckMode, state.m_nMatchCount) = std::make_tuple(mode, 99);
            UpdateCheckerText(state);
            AppendFormat(text, "[%s] %d\n", state.m_strCheckResult.c_str(), state.m_nMatchCount);
        }
        text += Rolled(state);
    }
    // Only die 5 is taken, whatever the order the three choices run in.
    AppendFormat(text, "die choices 5, 7, -1: %d %d %d\n", SelectDieType(state, 5),
                 SelectDieType(state, 7), SelectDieType(state, -1));
    ClearEntries(state);
    AppendFormat(text, "%s | %d x %dd%d (die %d) %+d each %+d in all | check %d for %d: [%s] | ",
                 state.m_strHeader.c_str(), state.m_nRolls, state.m_nDice, state.m_nDieSides,
                 state.m_nDieTypeIndex, state.m_nEachModifier, state.m_nTotalModifier,
                 state.m_nCheckMode, state.m_nCheckTarget, state.m_strCheckResult.c_str());
    ExpectGoldenText(ALEARO_GOLDEN_DIR "/entries_transcript.txt", text + Rolled(state));
}

}  // namespace alearo
