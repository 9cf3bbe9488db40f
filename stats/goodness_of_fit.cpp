// SPDX-License-Identifier: MIT
#include "stats/goodness_of_fit.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include <boost/math/distributions/chi_squared.hpp>

namespace alearo {

namespace {

// Groups of totals for this many rolls, each with its expected count.
std::vector<TotalGroup> FormGroups(const TotalDistribution& distribution, int rolls) {
    std::vector<TotalGroup> groups;
    TotalGroup open{distribution.minTotal, distribution.minTotal, 0, 0.0};
    for (std::size_t i = 0; i < distribution.exactly.size(); ++i) {
        open.lastTotal = distribution.minTotal + static_cast<int>(i);
        open.expected += rolls * static_cast<double>(distribution.exactly[i]);
        if (open.expected >= kLeastExpectedPerGroup) {
            groups.push_back(open);
            open = TotalGroup{open.lastTotal + 1, open.lastTotal + 1, 0, 0.0};
        }
    }
    if (open.firstTotal <= distribution.maxTotal()) {
        if (groups.empty()) {
            groups.push_back(open);
        } else {
            groups.back().lastTotal = open.lastTotal;
            groups.back().expected += open.expected;
        }
    }
    return groups;
}

// The fewest rolls for which two groups form: each side of some split must
// expect enough.
int RollsNeeded(const TotalDistribution& distribution) {
    double best = 0.0;
    for (std::size_t i = 0; i + 1 < distribution.exactly.size(); ++i) {
        best = std::max(best, static_cast<double>(
                                  std::min(distribution.atMost[i], distribution.atLeast[i + 1])));
    }
    if (best <= 0.0) {
        return 0;
    }
    // The estimate may be one off by round-off; the grouping decides.
    int rolls = std::max(1, static_cast<int>(std::floor(kLeastExpectedPerGroup / best)) - 1);
    while (FormGroups(distribution, rolls).size() < 2) {
        ++rolls;
    }
    return rolls;
}

}  // namespace

GoodnessOfFit TestFit(const TotalDistribution& distribution, const std::vector<int>& totals) {
    GoodnessOfFit fit;
    for (const int total : totals) {
        fit.impossibleTotals += distribution.chanceOf(total) > 0.0L ? 0 : 1;
    }
    if (fit.impossibleTotals > 0) {
        fit.verdict = FitVerdict::kImpossibleTotal;
        return fit;
    }
    const int rolls = static_cast<int>(totals.size());
    fit.groups = FormGroups(distribution, rolls);
    if (fit.groups.size() < 2) {
        fit.verdict = FitVerdict::kTooFewRolls;
        fit.rollsNeeded = RollsNeeded(distribution);
        return fit;
    }
    for (const int total : totals) {
        const auto group =
            std::find_if(fit.groups.begin(), fit.groups.end(),
                         [total](const TotalGroup& g) { return total <= g.lastTotal; });
        ++group->observed;
    }
    for (const TotalGroup& group : fit.groups) {
        const double difference = group.observed - group.expected;
        fit.chiSquare += difference * difference / group.expected;
    }
    fit.verdict = FitVerdict::kTested;
    fit.degreesOfFreedom = static_cast<int>(fit.groups.size()) - 1;
    fit.pValue = boost::math::cdf(boost::math::complement(
        boost::math::chi_squared_distribution<double>(fit.degreesOfFreedom), fit.chiSquare));
    return fit;
}

}  // namespace alearo
