// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

#include "stats/die_values.h"

namespace alearo {

// The chance of each sum of the kept dice of a roll of `dice` such dice, where
// the kept dice are all of them or, when dropLowest, all but one lowest (then
// dice must be at least 2). Index i is the sum i above the smallest possible
// one. Each entry is within about 1e-16 of the true chance, so entries of
// very unlikely sums may come out a little negative.
std::vector<double> KeptSumChances(const DieValues& die, int dice, bool dropLowest);

}  // namespace alearo
