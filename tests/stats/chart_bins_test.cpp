// SPDX-License-Identifier: MIT
#include "stats/chart_bins.h"

#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace alearo {
namespace {

// Each case: the exact chances from total 1, the observed shares from total 1,
// the compared chances from `comparedFirst`, the chart's width; then the axis,
// the totals per bar, and each series' bars.
TEST(ChartBinsTest, MergesNeighbouringTotalsIntoBarsOfTheirAverage) {
    const std::vector<double> none;
    const struct {
        std::vector<double> exact, observed;
        int comparedFirst;
        std::vector<double> compared;
        int columns;
        int lowest, highest, perBar;
        std::vector<double> exactBars, observedBars, comparedBars;
    } cases[] = {
        // clang-format off
        // One total a bar.
        {{0.25, 0.5, 0.25}, {}, 0, {}, 10, 1, 3, 1, {0.25, 0.5, 0.25}, {}, {}},
        // Two or three a bar, the last maybe fewer.
        {{0.1, 0.2, 0.3, 0.4, 0.0}, {0, 0.5, 0.5, 0, 0}, 0, {}, 3, 1, 4, 2, {0.15, 0.35}, {0.25, 0.25}, {}},
        {{0.1, 0.2, 0.3, 0.2, 0.2}, {}, 0, {}, 2, 1, 5, 3, {0.2, 0.2}, {}, {}},
        // Tails below a billionth in all are off the axis, unless a total
        // there was rolled.
        {{1e-12, 0.5, 0.5, 1e-12}, {}, 0, {}, 10, 2, 3, 1, {0.5, 0.5}, {}, {}},
        {{1e-12, 0.5, 0.5, 1e-12}, {0, 0, 0, 1}, 0, {}, 10, 2, 4, 1, {0.5, 0.5, 1e-12}, {0, 0, 1}, {}},
        // A comparison widens the axis; its line starts at the axis, 0 until
        // its first total.
        {{0.5, 0.5}, {}, 4, {0.5, 0.5}, 10, 1, 5, 1, {0.5, 0.5, 0, 0, 0}, {}, {0, 0, 0, 0.5, 0.5}},
        {{0.5, 0.5}, {}, -2, {0.5, 0.5}, 2, -2, 2, 3, {0, 0.5}, {}, {1.0 / 3, 0}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        const ChartBins bins =
            BinChart({1, c.exact}, {1, c.observed}, {c.comparedFirst, c.compared}, c.columns);
        EXPECT_EQ(std::make_tuple(bins.lowest, bins.highest, bins.perBar),
                  std::make_tuple(c.lowest, c.highest, c.perBar));
        for (const auto& [got, want] : {std::pair{&bins.exact, &c.exactBars},
                                        {&bins.observed, &c.observedBars},
                                        {&bins.compared, &c.comparedBars}}) {
            ASSERT_EQ(got->size(), want->size());
            for (std::size_t i = 0; i < got->size(); ++i) {
                EXPECT_NEAR((*got)[i], (*want)[i], 1e-15) << i;
            }
        }
    }
    EXPECT_EQ(BinChart({1, none}, {1, none}, {1, none}, 10).bars(), 0);
}

}  // namespace
}  // namespace alearo
