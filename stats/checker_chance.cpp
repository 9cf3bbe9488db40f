// SPDX-License-Identifier: MIT
#include "stats/checker_chance.h"

#include <algorithm>

#include <boost/math/distributions/binomial.hpp>

namespace alearo {

namespace {

boost::math::binomial_distribution<double> Binomial(int rolls, double chance) {
    // Summed chances may stray past 0 or 1 by round-off, which the
    // distribution would refuse.
    return boost::math::binomial_distribution<double>(rolls, std::clamp(chance, 0.0, 1.0));
}

}  // namespace

std::optional<dice::Chance> CheckerChance(const TotalDistribution& distribution,
                                          const Checker& checker) {
    switch (checker.mode) {
        case CheckMode::kAtLeast:
            return distribution.chanceAtLeast(checker.target);
        case CheckMode::kAtMost:
            return distribution.chanceAtMost(checker.target);
        case CheckMode::kEqual:
            return distribution.chanceOf(checker.target);
        case CheckMode::kNone:
            break;
    }
    return std::nullopt;
}

double ChanceOfAtLeast(int count, int rolls, double chance) {
    if (count <= 0) {
        return 1.0;
    }
    if (count > rolls) {
        return 0.0;
    }
    // P(X >= k) = P(X > k - 1), from the upper tail itself so that a small
    // chance is not lost in 1 - P(X <= k - 1).
    return boost::math::cdf(boost::math::complement(Binomial(rolls, chance), count - 1));
}

double ChanceOfAtMost(int count, int rolls, double chance) {
    if (count < 0) {
        return 0.0;
    }
    if (count >= rolls) {
        return 1.0;
    }
    return boost::math::cdf(Binomial(rolls, chance), count);
}

CountTail TailOfCount(int matches, int rolls, double chance) {
    const bool high = matches >= chance * rolls;
    return {high, high ? ChanceOfAtLeast(matches, rolls, chance)
                       : ChanceOfAtMost(matches, rolls, chance)};
}

}  // namespace alearo
