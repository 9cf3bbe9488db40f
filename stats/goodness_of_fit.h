// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

#include "stats/roll_distribution.h"

namespace alearo {

// Neighbouring totals tested together, so that each group expects enough
// rolls for the chi-square test to hold.
struct TotalGroup {
    int firstTotal = 0;
    int lastTotal = 0;
    int observed = 0;
    double expected = 0.0;
};

enum class FitVerdict {
    kTested,
    kTooFewRolls,      // fewer than two groups could be formed
    kImpossibleTotal,  // some total cannot come from this roll at all
};

struct GoodnessOfFit {
    FitVerdict verdict = FitVerdict::kTooFewRolls;
    std::vector<TotalGroup> groups;
    double chiSquare = 0.0;
    int degreesOfFreedom = 0;
    double pValue = 1.0;
    // With too few rolls: the fewest that can be tested; 0 when the roll has
    // only one possible total and can never be tested.
    int rollsNeeded = 0;
    int impossibleTotals = 0;
};

// Each group expects this many rolls at least.
constexpr double kLeastExpectedPerGroup = 5.0;

// Chi-square goodness of fit of rolled totals to the distribution of their
// roll. Groups are formed from the lowest total up, each closed once it
// expects kLeastExpectedPerGroup; a short last group joins the one before.
GoodnessOfFit TestFit(const TotalDistribution& distribution, const std::vector<int>& totals);

// Below this p-value the totals are said not to fit: at 1%, a fair roll is
// called unfair once in a hundred tests.
constexpr double kUnfitPValue = 0.01;

}  // namespace alearo
