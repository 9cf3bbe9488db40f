// SPDX-License-Identifier: MIT
#include "stats/roll_distribution.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <map>
#include <vector>

#include <gtest/gtest.h>

namespace alearo {
namespace {

__extension__ typedef unsigned __int128 Count;

// How many face combinations give each total, die by die as the engine rolls;
// a state is the sum so far and the lowest value so far.
std::map<int, Count> CountTotals(const RollSpec& s) {
    std::map<std::pair<int, int>, Count> states{{{0, INT_MAX}, 1}}, next;
    for (int die = 0; die < s.dice; ++die, states.swap(next), next.clear()) {
        for (const auto& [state, count] : states) {
            for (int face = 1; face <= s.sides; ++face) {
                const int value = std::max(face + s.eachModifier, s.noRollsBelowOne ? 1 : INT_MIN);
                next[{state.first + value, std::min(state.second, value)}] += count;
            }
        }
    }
    std::map<int, Count> totals;
    const bool drop = s.dropLowest && s.dice > 1;
    for (const auto& [state, count] : states) {
        totals[state.first - (drop ? state.second : 0) + s.totalModifier] += count;
    }
    return totals;
}

TEST(DistributionTest, MatchesExactCountsOfEveryFaceCombination) {
    // dice, sides, each, total, raise, drop; the largest counts reach 6^40.
    const RollSpec specs[] = {
        {4, 6, 0, 0, false, true},    {4, 6, 2, -3, false, true},   {4, 6, -3, 0, true, true},
        {4, 6, -3, 0, false, true},   {1, 20, 0, 5, false, true},   {3, 8, -10, 0, true, false},
        {5, 4, -2, 1, true, true},    {3, 4, 0, 0, false, false},   {40, 6, -1, 0, true, true},
        {12, 20, 3, -7, false, true}, {25, 12, -2, 4, true, false}, {3, 100, -50, 0, true, true},
        {2, 100, 0, 0, false, true},
    };
    for (const RollSpec& spec : specs) {
        SCOPED_TRACE(&spec - specs);
        const std::map<int, Count> counts = CountTotals(spec);
        const TotalDistribution d = ComputeDistribution(spec);
        ASSERT_EQ(std::make_pair(d.minTotal, d.exactly.size()),
                  std::make_pair(counts.begin()->first, counts.size()));
        const long double all = std::pow(static_cast<long double>(spec.sides), spec.dice);
        Count seen = 0;
        for (const auto& [total, count] : counts) {
            EXPECT_NEAR(d.chanceOf(total) / (count / all), 1.0L, 1e-14L) << total;
            EXPECT_NEAR(d.chanceAtLeast(total), 1 - seen / all, 1e-15) << total;
            seen += count;
            EXPECT_NEAR(d.chanceAtMost(total), seen / all, 1e-15) << total;
        }
    }
    EXPECT_TRUE(ComputeDistribution({101, 6, 0, 0, false, false}).exactly.empty());
}

}  // namespace
}  // namespace alearo
