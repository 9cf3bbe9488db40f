// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "dice/chance.h"
#include "dice/detail/factor.h"
#include "dice/expression.h"

// Exploding dice added up as they fall: each die shows F times the number of
// times it exploded plus the face it stopped on, 1 to F - 1, and the two are
// independent. So n such dice add up to the sum of n dice of F - 1 faces and
// F times the explosions of all of them, which follow the negative binomial
// law (Feller, "An Introduction to Probability Theory", vol. 1, VI.8). Each
// part has few values: the whole chain of one die has F - 1 values a
// period, followed for many periods. Internal to the dice library.

namespace alearo::dice {

// The parts of `dice` dice of the term, or nothing when its dice do more than
// explode and add up (a reroll, a min, a max, a keep or a count of
// successes changes the chain). The explosions are followed until the chance
// of more is below `negligible`, and as far as `reach` at least.
std::optional<std::vector<std::unique_ptr<Factor>>> SplitExploding(const DiceTerm& term, int dice,
                                                                   Chance negligible,
                                                                   long long reach);

}  // namespace alearo::dice
