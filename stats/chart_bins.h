// SPDX-License-Identifier: MIT
#pragma once

#include <utility>
#include <vector>

namespace alearo {

// The chances of the totals from `first` on.
struct ChanceSeries {
    int first = 0;
    const std::vector<double>& chances;
};

// What a bar chart of chances draws: the totals on its axis, and one bar for
// every `perBar` neighbouring totals (the last maybe fewer), as high as their
// average chance, so that the axis still reads "chance of one total".
struct ChartBins {
    int lowest = 0;  // the first and last total on the axis
    int highest = -1;
    int perBar = 1;
    // Each bar's height for each series; empty for a series without chances.
    std::vector<double> exact;
    std::vector<double> observed;
    std::vector<double> compared;
    double peak = 0.0;  // the highest bar of any series

    int bars() const { return static_cast<int>(exact.size()); }
};

// The first and last total on a chart's axis: those that hold all but a
// billionth of the exact chance, and of the compared chance, and every total
// with an observed share. Nothing (an empty span) without exact chances.
std::pair<int, int> ChartAxis(const ChanceSeries& exact, const ChanceSeries& observed,
                              const ChanceSeries& compared);

// The bars over that axis for a chart `columns` wide.
ChartBins BinChart(const ChanceSeries& exact, const ChanceSeries& observed,
                   const ChanceSeries& compared, int columns);

}  // namespace alearo
