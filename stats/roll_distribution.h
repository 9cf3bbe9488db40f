// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

#include "dice/total_distribution.h"
#include "engine/roll_spec.h"

namespace alearo {

using dice::TotalDistribution;

// Whether the chances of the roll can be computed: the dice and modifiers
// within the form's ranges, and a die of 1 to 100 sides.
bool IsComputable(const RollSpec& spec);

// The chance of every total of the roll, worked out by the dice library as
// the expression the roll is: its dice with the modifier added to each, raised
// to 1 at least with that option, the lowest dropped with that one, and the
// total's modifier. A roll that is not computable gives an empty distribution.
TotalDistribution ComputeDistribution(const RollSpec& spec);

struct DistributionSummary {
    int minimum = 0;
    int maximum = 0;
    double mean = 0.0;
    double standardDeviation = 0.0;
    int median = 0;               // the smallest total whose at-most chance reaches one half
    std::vector<int> mostLikely;  // the totals of highest chance, in order
};

// Over the listed totals, which hold all but a negligible part of the chances.
DistributionSummary Summarize(const TotalDistribution& distribution);

}  // namespace alearo
