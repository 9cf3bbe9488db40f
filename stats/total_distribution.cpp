// SPDX-License-Identifier: MIT
#include "stats/total_distribution.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "engine/die_type.h"
#include "engine/limits.h"
#include "stats/die_values.h"
#include "stats/kept_sum_spectrum.h"

namespace alearo {

namespace {

// Chances computed in floating point agree with the true ones to far better
// than this; closer ones count as equal when looking for a median or a mode.
constexpr double kSameChance = 1e-12;

}  // namespace

bool IsComputable(const RollSpec& spec) {
    return kDiceRange.Contains(spec.dice) && spec.sides >= 1 &&
           spec.sides <= kDieTypes.back().sides && kModifierRange.Contains(spec.eachModifier) &&
           kModifierRange.Contains(spec.totalModifier);
}

int TotalDistribution::MaxTotal() const {
    return minTotal + static_cast<int>(exactly.size()) - 1;
}

double TotalDistribution::Exactly(int total) const {
    if (total < minTotal || total > MaxTotal()) {
        return 0.0;
    }
    return exactly[static_cast<std::size_t>(total - minTotal)];
}

double TotalDistribution::AtLeast(int total) const {
    if (exactly.empty() || total > MaxTotal()) {
        return 0.0;
    }
    return total < minTotal ? 1.0 : atLeast[static_cast<std::size_t>(total - minTotal)];
}

double TotalDistribution::AtMost(int total) const {
    if (exactly.empty() || total < minTotal) {
        return 0.0;
    }
    return total > MaxTotal() ? 1.0 : atMost[static_cast<std::size_t>(total - minTotal)];
}

TotalDistribution ComputeDistribution(const RollSpec& spec) {
    TotalDistribution distribution;
    if (!IsComputable(spec)) {
        return distribution;
    }
    const DieValues die = DieValuesOf(spec.sides, spec.eachModifier, spec.raiseToOne);
    const bool drop = spec.DropsADie();
    const int kept = drop ? spec.dice - 1 : spec.dice;
    distribution.minTotal = kept * die.lowest + spec.totalModifier;
    distribution.exactly = KeptSumChances(die, spec.dice, drop);

    // Round-off may leave a very unlikely total a little below zero or a sum a
    // little above one. Every total in the range comes from at least one of
    // the sides^dice equally likely face combinations, which bounds it below.
    // The running sums add the unclamped chances: clamping first would add up
    // the round-off of thousands of unlikely totals on one side only.
    const double floor = std::pow(static_cast<double>(spec.sides), -spec.dice);
    const auto clamp = [floor](double chance) { return std::clamp(chance, floor, 1.0); };
    const std::vector<double>& exactly = distribution.exactly;
    const std::size_t totals = exactly.size();
    distribution.atMost.resize(totals);
    distribution.atLeast.resize(totals);
    double sum = 0.0;
    for (std::size_t i = 0; i < totals; ++i) {
        sum += exactly[i];
        distribution.atMost[i] = clamp(sum);
    }
    sum = 0.0;
    for (std::size_t i = totals; i-- > 0;) {
        sum += exactly[i];
        distribution.atLeast[i] = clamp(sum);
    }
    for (double& chance : distribution.exactly) {
        chance = clamp(chance);
    }
    // Every roll reaches the lowest total and none passes the highest: these
    // two are certain, not merely within round-off of it.
    if (totals > 0) {
        distribution.atLeast.front() = 1.0;
        distribution.atMost.back() = 1.0;
    }
    return distribution;
}

DistributionSummary Summarize(const TotalDistribution& distribution) {
    DistributionSummary summary;
    const std::vector<double>& exactly = distribution.exactly;
    if (exactly.empty()) {
        return summary;
    }
    summary.minimum = distribution.minTotal;
    summary.maximum = distribution.MaxTotal();

    // Moments about the smallest total keep the sums small and accurate.
    double mean = 0.0;
    for (std::size_t i = 0; i < exactly.size(); ++i) {
        mean += static_cast<double>(i) * exactly[i];
    }
    double variance = 0.0;
    for (std::size_t i = 0; i < exactly.size(); ++i) {
        const double deviation = static_cast<double>(i) - mean;
        variance += deviation * deviation * exactly[i];
    }
    summary.mean = distribution.minTotal + mean;
    summary.standardDeviation = std::sqrt(variance);

    const auto halfway = std::find_if(distribution.atMost.begin(), distribution.atMost.end(),
                                      [](double chance) { return chance >= 0.5 - kSameChance; });
    summary.median =
        distribution.minTotal + static_cast<int>(halfway - distribution.atMost.begin());

    const double highest = *std::max_element(exactly.begin(), exactly.end());
    const auto mode = std::find_if(exactly.begin(), exactly.end(), [highest](double chance) {
        return chance >= highest - kSameChance;
    });
    summary.mostLikely = distribution.minTotal + static_cast<int>(mode - exactly.begin());
    return summary;
}

}  // namespace alearo
