// SPDX-License-Identifier: MIT
#pragma once

#include <optional>

#include "engine/checker.h"
#include "stats/roll_distribution.h"

namespace alearo {

// The chance that the total of one roll meets the checker; none with no mode.
std::optional<dice::Chance> CheckerChance(const TotalDistribution& distribution,
                                          const Checker& checker);

// Of `rolls` rolls that each meet the checker with this chance, the chance that
// at least, or at most, `count` of them do.
double ChanceOfAtLeast(int count, int rolls, double chance);
double ChanceOfAtMost(int count, int rolls, double chance);

// How unusual `matches` of `rolls` is: the chance of a count at least as far
// from the expected one, on the side where it fell.
struct CountTail {
    bool high;  // at or above the expected count: "so many or more"
    double chance;
};
CountTail TailOfCount(int matches, int rolls, double chance);

}  // namespace alearo
