// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "engine/checker.h"
#include "engine/roll.h"
#include "engine/roll_spec.h"

namespace alearo {

// The fixed-format lines of the main window. The result lines are also what
// the results file and the printed page hold, so their bytes never change.

inline constexpr const char* kStartDescription = "Results";
inline constexpr const char* kClearedDescription = "Entries cleared.";

// The dice of a roll as the description names them: "(3d6)", "(3d6+2)",
// "(3d6) + 5", "(3d6+2)  -5", with " - lowest roll" when a die is thrown out.
std::string RollExpression(const RollSpec& spec);

// The description line: the roll's expression, which reads "Results for
// (3d6)" when neither modifier is set.
std::string DescriptionLine(const RollSpec& spec);

// Roll number `number`: "Result #  1:        15", with " (2 drpd)" after it
// when a die was thrown out.
std::string ResultLine(int number, const RollResult& result);

// The results box: the result lines numbered from 1, joined by CR LF, with
// none after the last.
std::string ResultsText(const std::vector<RollResult>& results);

// The checker line, such as "Rolls equal to 7:    2"; empty with no mode.
std::string CheckerLine(const Checker& checker, int matches);

}  // namespace alearo
