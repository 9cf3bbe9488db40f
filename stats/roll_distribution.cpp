// SPDX-License-Identifier: MIT
#include "stats/roll_distribution.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "dice/chances.h"
#include "engine/die_type.h"
#include "engine/limits.h"

namespace alearo {

bool IsComputable(const RollSpec& spec) {
    return kDiceRange.contains(spec.dice) && spec.sides >= 1 &&
           spec.sides <= kDieTypes.back().sides && kModifierRange.contains(spec.eachModifier) &&
           kModifierRange.contains(spec.totalModifier);
}

TotalDistribution ComputeDistribution(const RollSpec& spec) {
    if (!IsComputable(spec)) {
        return {};
    }
    dice::Term dice;
    dice.isDice = true;
    dice.dice.count = spec.dice;
    dice.dice.faces = spec.sides;
    dice.dice.faceOffset = spec.eachModifier;
    if (spec.noRollsBelowOne) {
        dice.dice.minimum = 1;
    }
    if (spec.dropsADie()) {
        dice.dice.selection = dice::Selection::kDropLowest;
        dice.dice.selectionCount = 1;
    }
    dice::Term modifier;
    modifier.negative = spec.totalModifier < 0;
    modifier.number = std::abs(spec.totalModifier);
    dice::Expression expression;
    expression.terms = {dice, modifier};
    return dice::ExactChances(expression);
}

DistributionSummary Summarize(const TotalDistribution& distribution) {
    DistributionSummary summary;
    if (distribution.empty()) {
        return summary;
    }
    const std::vector<dice::Chance>& exactly = distribution.exactly;
    summary.minimum = distribution.minTotal;
    summary.maximum = distribution.maxTotal();

    // Moments about the smallest total keep the sums small and accurate.
    dice::Chance mean = 0.0L;
    for (std::size_t i = 0; i < exactly.size(); ++i) {
        mean += static_cast<dice::Chance>(i) * exactly[i];
    }
    dice::Chance variance = 0.0L;
    for (std::size_t i = 0; i < exactly.size(); ++i) {
        const dice::Chance deviation = static_cast<dice::Chance>(i) - mean;
        variance += deviation * deviation * exactly[i];
    }
    summary.mean = static_cast<double>(distribution.minTotal + mean);
    summary.standardDeviation = static_cast<double>(std::sqrt(variance));

    // The chances are right to far more digits than it takes to tell a total
    // at the half or at the top from its neighbours; closer ones count as equal.
    const dice::Chance same = 4 * distribution.relativeError;
    const auto halfway =
        std::find_if(distribution.atMost.begin(), distribution.atMost.end(),
                     [same](dice::Chance chance) { return chance >= 0.5L * (1.0L - same); });
    summary.median =
        distribution.minTotal + static_cast<int>(halfway - distribution.atMost.begin());
    const dice::Chance highest = *std::max_element(exactly.begin(), exactly.end());
    for (std::size_t i = 0; i < exactly.size(); ++i) {
        if (exactly[i] >= highest * (1.0L - same)) {
            summary.mostLikely.push_back(distribution.minTotal + static_cast<int>(i));
        }
    }
    return summary;
}

}  // namespace alearo
