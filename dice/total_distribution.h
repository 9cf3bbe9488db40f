// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

#include "dice/chance.h"

namespace alearo::dice {

// The chance of each total of a roll, from the lowest listed total to the
// highest. Index i of each table belongs to the total minTotal + i; atLeast
// and atMost are each summed from their own end, so that each keeps all its
// digits however small it is.
struct TotalDistribution {
    int minTotal = 0;
    std::vector<Chance> exactly;
    std::vector<Chance> atLeast;
    std::vector<Chance> atMost;
    // Whether the totals end where the lists do. A term that explodes without
    // a max has no highest total (subtracted, no lowest): the lists then stop
    // at the last total whose chance reaches kLeastListedChance, and the
    // at-least (at-most) chance of that total takes in every total beyond.
    bool hasLowest = true;
    bool hasHighest = true;
    // No chance is further from the exact one than this share of it.
    double relativeError = 0.0;

    bool empty() const { return exactly.empty(); }
    int maxTotal() const { return minTotal + static_cast<int>(exactly.size()) - 1; }
    // Whether the chances of `total` are known: listed, or past an end.
    bool knows(int total) const;
    // Past an end: 0, except chanceAtLeast() below the lowest total and chanceAtMost() above
    // the highest, which are 1. An empty distribution answers 0 throughout,
    // and one past the listed totals of a side without end is not a number.
    Chance chanceOf(int total) const;
    Chance chanceAtLeast(int total) const;
    Chance chanceAtMost(int total) const;
};

// The least chance a listed total of a side without end has.
constexpr Chance kLeastListedChance = 1e-15L;

}  // namespace alearo::dice
