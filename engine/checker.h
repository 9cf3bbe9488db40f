// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

#include "engine/roll.h"

namespace alearo {

// Which totals the roll checker counts. The values are the positions of the
// modes' buttons; None is no button chosen.
enum class CheckMode : int {
    kNone = -1,
    kAtLeast = 0,
    kAtMost = 1,
    kEqual = 2,
};

struct Checker {
    CheckMode mode = CheckMode::kNone;
    int target = 0;
};

// Whether a total counts: "at least" and "at most" include the target itself.
// With no mode nothing counts.
bool Matches(const Checker& checker, int total);

int CountMatches(const Checker& checker, const std::vector<RollResult>& results);

}  // namespace alearo
