// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <vector>

#include "engine/roll_spec.h"

namespace alearo {

// One roll: every die as it counts (after its modifier and the raise to 1),
// which of them was thrown out, and the total.
struct RollResult {
    std::vector<int> dice;
    int droppedIndex = -1;  // index into dice, or -1 when none was thrown out
    int total = 0;

    std::optional<int> droppedDie() const;
};

// Rolls one roll of `spec` through the program's random source. The first of
// equally low dice is the one thrown out.
RollResult RollOnce(const RollSpec& spec);

// `rolls` rolls of `spec`, numbered from 1 in the order returned.
std::vector<RollResult> RollDice(const RollSpec& spec, int rolls);

}  // namespace alearo
