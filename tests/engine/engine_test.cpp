// SPDX-License-Identifier: MIT
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <set>
#include <tuple>

#include <gtest/gtest.h>

#include "engine/checker.h"
#include "engine/random_range.h"
#include "engine/roll.h"
#include "engine/text_format.h"
#include "engine/texts.h"
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
}

// A series of rolls through the engine: the description of each, the checker
// line in each mode over its totals, and its results text. The source
// restarts from fixed seeds, so the golden text pins every face, and so the
// seeds and the reseeds on calls 1, 1001 and 2001 (the first entry throws
// 2000 dice), as well as every text and count.
TEST(Engine, SeriesOfRollsDescribesRollsAndChecksAsTheGoldenTranscriptSays) {
    ResetRandomSource({[] { return std::time_t{1700000000}; }, [] { return 7U; }});
    // rolls, dice, sides, modifier of each die and of the total, raise, drop,
    // and the checker's target
    const std::tuple<int, int, int, int, int, bool, bool, int> entries[] = {
        {100, 20, 6, 0, 0, false, false, 70},   {20, 3, 6, 2, 0, false, false, 12},
        {20, 2, 8, -3, 0, true, false, 1},      {30, 4, 4, 0, -1, true, true, 6},
        {20, 3, 6, 2, 5, false, true, 17},      {30, 4, 4, -3, -1, false, true, -1},
        {20, 2, 20, 0, 0, false, true, 21},     {1, 1, 20, 0, 0, false, true, 10},
        {5, 3, 100, -100, -100, true, true, 1},
    };
    std::string text;
    for (const auto& entry : entries) {
        RollSpec spec;
        int rolls = 0, target = 0;
        std::tie(rolls, spec.dice, spec.sides, spec.eachModifier, spec.totalModifier,
                 spec.noRollsBelowOne, spec.dropLowest, target) = entry;
        const std::vector<RollResult> results = RollDice(spec, rolls);
        AppendFormat(text, "%s: after %ld reseeds\n", DescriptionLine(spec).c_str(),
                     RandomReseedCount());
        for (const CheckMode mode :
             {CheckMode::kNone, CheckMode::kAtLeast, CheckMode::kAtMost, CheckMode::kEqual}) {
            const Checker checker{mode, target};
            AppendFormat(text, "[%s]\n",
                         CheckerLine(checker, CountMatches(checker, results)).c_str());
        }
        text += ResultsText(results) + "\n";
    }
    ExpectGoldenText(ALEARO_GOLDEN_DIR "/entries_transcript.txt", text);
}

}  // namespace alearo
