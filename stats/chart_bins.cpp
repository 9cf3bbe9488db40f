// SPDX-License-Identifier: MIT
#include "stats/chart_bins.h"

#include <algorithm>
#include <cstddef>
#include <tuple>
#include <utility>

namespace alearo {

namespace {

// The chance left out of the axis, both ends together.
constexpr double kTailLeftOut = 1e-9;

double ChanceOf(const ChanceSeries& series, int total) {
    const long long at = static_cast<long long>(total) - series.first;
    return at < 0 || at >= static_cast<long long>(series.chances.size())
               ? 0.0
               : series.chances[static_cast<std::size_t>(at)];
}

// The totals that hold all but kTailLeftOut of the series' chance.
std::pair<int, int> BulkOf(const ChanceSeries& series) {
    const std::vector<double>& chances = series.chances;
    std::size_t low = 0;
    for (double tail = 0.0; low + 1 < chances.size() && tail + chances[low] <= kTailLeftOut / 2;
         ++low) {
        tail += chances[low];
    }
    std::size_t high = chances.size() - 1;
    for (double tail = 0.0; high > low && tail + chances[high] <= kTailLeftOut / 2; --high) {
        tail += chances[high];
    }
    return {series.first + static_cast<int>(low), series.first + static_cast<int>(high)};
}

}  // namespace

std::pair<int, int> ChartAxis(const ChanceSeries& exact, const ChanceSeries& observed,
                              const ChanceSeries& compared) {
    if (exact.chances.empty()) {
        return {0, -1};
    }
    auto [lowest, highest] = BulkOf(exact);
    if (!compared.chances.empty()) {
        const auto [low, high] = BulkOf(compared);
        lowest = std::min(lowest, low);
        highest = std::max(highest, high);
    }
    for (std::size_t i = 0; i < observed.chances.size(); ++i) {
        if (observed.chances[i] > 0.0) {
            const int total = observed.first + static_cast<int>(i);
            lowest = std::min(lowest, total);
            highest = std::max(highest, total);
        }
    }
    return {lowest, highest};
}

ChartBins BinChart(const ChanceSeries& exact, const ChanceSeries& observed,
                   const ChanceSeries& compared, int columns) {
    ChartBins bins;
    if (exact.chances.empty() || columns < 1) {
        return bins;
    }
    std::tie(bins.lowest, bins.highest) = ChartAxis(exact, observed, compared);
    const int count = bins.highest - bins.lowest + 1;
    bins.perBar = (count + columns - 1) / columns;
    const int bars = (count + bins.perBar - 1) / bins.perBar;
    const auto heights = [&](const ChanceSeries& series, std::vector<double>& out) {
        if (series.chances.empty()) {
            return;
        }
        for (int bar = 0; bar < bars; ++bar) {
            const int first = bins.lowest + bar * bins.perBar;
            const int last = std::min(bins.highest, first + bins.perBar - 1);
            double sum = 0.0;
            for (int total = first; total <= last; ++total) {
                sum += ChanceOf(series, total);
            }
            out.push_back(sum / (last - first + 1));
            bins.peak = std::max(bins.peak, out.back());
        }
    };
    heights(exact, bins.exact);
    heights(observed, bins.observed);
    heights(compared, bins.compared);
    return bins;
}

}  // namespace alearo
