// SPDX-License-Identifier: MIT
#pragma once

#include <limits>

namespace alearo::dice {

// A chance from 0 to 1. The chances of totals that can happen reach far below
// what a double holds: 500 dice of 1000 faces show their lowest total once in
// 10^1500 rolls, and a reroll once squares the chance of a face. A long double
// holds down to 10^-4900 and carries three more digits, which the
// computation spends on the far tails.
using Chance = long double;

static_assert(std::numeric_limits<Chance>::min_exponent10 <= -4900 &&
                  std::numeric_limits<Chance>::digits >= 64,
              "the chances need the x87 extended or a wider long double");

}  // namespace alearo::dice
