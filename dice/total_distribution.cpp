// SPDX-License-Identifier: MIT
#include "dice/total_distribution.h"

#include <cstddef>
#include <limits>

namespace alearo::dice {

namespace {

constexpr Chance kUnknown = std::numeric_limits<Chance>::quiet_NaN();

}  // namespace

bool TotalDistribution::knows(int total) const {
    return empty() || ((total >= minTotal || hasLowest) && (total <= maxTotal() || hasHighest));
}

Chance TotalDistribution::chanceOf(int total) const {
    if (!knows(total)) {
        return kUnknown;
    }
    if (empty() || total < minTotal || total > maxTotal()) {
        return 0.0L;
    }
    return exactly[static_cast<std::size_t>(total - minTotal)];
}

Chance TotalDistribution::chanceAtLeast(int total) const {
    if (!knows(total)) {
        return kUnknown;
    }
    if (empty() || total > maxTotal()) {
        return 0.0L;
    }
    return total < minTotal ? 1.0L : atLeast[static_cast<std::size_t>(total - minTotal)];
}

Chance TotalDistribution::chanceAtMost(int total) const {
    if (!knows(total)) {
        return kUnknown;
    }
    if (empty() || total < minTotal) {
        return 0.0L;
    }
    return total > maxTotal() ? 1.0L : atMost[static_cast<std::size_t>(total - minTotal)];
}

}  // namespace alearo::dice
