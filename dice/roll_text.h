// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "dice/expression.h"
#include "dice/roll.h"

namespace alearo::dice {

// A roll as "23 = [18 (4)] + 5": the total, then each term, its dice in
// brackets. Each die shows the face a reroll set aside followed by "/", its
// faces joined by "+" (an explosion's chain), "=>" and what a min or max made
// of it, "*" if it counts as a success, and parentheses if it was dropped.
// An opponent's roll follows after " vs ", alike: "12 = [4 5] + 3 vs 9 = [3 5] + 1".
std::string RollText(const Expression& expression, const RollResult& roll);
void AppendRollText(std::string& out, const Expression& expression, const RollResult& roll);

// A whole number appended as digits, without the cost of a stream.
void AppendNumber(std::string& out, long long value);

}  // namespace alearo::dice
