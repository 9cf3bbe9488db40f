// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <vector>

#include "dice/detail/die_law.h"
#include "dice/detail/factor.h"

namespace alearo::dice {

// The sum of the `kept` highest (or lowest) of `dice` dice of the law. The
// rolls that keep a die past the end of an endless law's entries are left
// out: their sums lie past every total the caller asks for.
std::unique_ptr<Factor> KeptSumOf(const DieLaw& law, int dice, int kept, bool highest);

// The chance of each value of the law being the one die kept of `dice`,
// the highest or the lowest, entry for entry: the law of the best or the
// worst die of a roll, as a plain law of one die.
std::vector<Chance> KeptOneChances(const DieLaw& law, int dice, bool highest);

}  // namespace alearo::dice
