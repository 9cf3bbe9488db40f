// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

#include "dice/chance.h"
#include "dice/detail/die_law.h"
#include "dice/expression.h"

namespace alearo::dice {

// The chance of each number, from 0 up, of the kept dice of a term that meet
// its comparison, from the law of one of its dice (whose values past its
// entries, if any, lie above every number the term compares with). Internal
// to the dice library.
std::vector<Chance> SuccessCountChances(const DiceTerm& dice, const DieLaw& law);

}  // namespace alearo::dice
