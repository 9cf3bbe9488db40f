// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

#include "engine/roll_spec.h"

namespace alearo {

// The chance of each total of one roll. Index i of each table belongs to the
// total minTotal + i; atLeast and atMost are each summed from their own end.
struct TotalDistribution {
    int minTotal = 0;
    std::vector<double> exactly;
    std::vector<double> atLeast;
    std::vector<double> atMost;

    int MaxTotal() const;
    // Outside the range of totals: 0, except AtLeast below it and AtMost above
    // it, which are 1. An empty distribution answers 0 throughout.
    double Exactly(int total) const;
    double AtLeast(int total) const;
    double AtMost(int total) const;
};

// Whether the chances of the roll can be computed: the dice and modifiers
// within the form's ranges, and a die of 1 to 100 sides.
bool IsComputable(const RollSpec& spec);

// Every total from the smallest to the largest possible one comes with a
// positive chance, at least that of one single combination of faces. A roll
// that is not computable gives an empty distribution.
TotalDistribution ComputeDistribution(const RollSpec& spec);

struct DistributionSummary {
    int minimum = 0;
    int maximum = 0;
    double mean = 0.0;
    double standardDeviation = 0.0;
    int median = 0;      // the smallest total whose at-most chance reaches one half
    int mostLikely = 0;  // the smallest of the totals of highest chance
};

DistributionSummary Summarize(const TotalDistribution& distribution);

}  // namespace alearo
