// SPDX-License-Identifier: MIT
#pragma once

#include "dice/expression.h"
#include "stats/total_distribution.h"

namespace alearo::dice {

// Totals whose chance is below this end the table of an expression without a
// highest (or lowest) total, such as one with exploding dice.
constexpr double kLeastListedChance = 1e-15;

// The chance of every total of the expression, one entry for every total
// from the lowest to the highest; a total inside that range that cannot
// happen (6 on 1d6!) has chance 0, and one that can has a positive chance,
// however small. Every chance is within 1e-12 of the exact one.
//
// With exploding dice the totals have no upper end (or, subtracted, no lower
// end): the table then ends at the highest total whose chance is at least
// kLeastListedChance (starts at the lowest), and the at-least chance of its
// last entry (the at-most chance of its first) takes in every total beyond.
TotalDistribution ExactChances(const Expression& expression);

}  // namespace alearo::dice
