// SPDX-License-Identifier: MIT
#include "dice/total_distribution.h"

#include <cstddef>
#include <limits>

namespace alearo::dice {

namespace {

constexpr Chance kUnknown = std::numeric_limits<Chance>::quiet_NaN();

}  // namespace

bool TotalDistribution::Knows(int total) const {
    return Empty() || ((total >= minTotal || hasLowest) && (total <= MaxTotal() || hasHighest));
}

Chance TotalDistribution::Exactly(int total) const {
    if (!Knows(total)) {
        return kUnknown;
    }
    if (Empty() || total < minTotal || total > MaxTotal()) {
        return 0.0L;
    }
    return exactly[static_cast<std::size_t>(total - minTotal)];
}

Chance TotalDistribution::AtLeast(int total) const {
    if (!Knows(total)) {
        return kUnknown;
    }
    if (Empty() || total > MaxTotal()) {
        return 0.0L;
    }
    return total < minTotal ? 1.0L : atLeast[static_cast<std::size_t>(total - minTotal)];
}

Chance TotalDistribution::AtMost(int total) const {
    if (!Knows(total)) {
        return kUnknown;
    }
    if (Empty() || total < minTotal) {
        return 0.0L;
    }
    return total > MaxTotal() ? 1.0L : atMost[static_cast<std::size_t>(total - minTotal)];
}

}  // namespace alearo::dice
