// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "dice/odds.h"
#include "dice_oracle.h"

// The exact odds of a roll with "vs", from the whole-number counts of each
// side's totals (dice_oracle.h): every total against the target, or every
// pair of totals of the two sides. The target is met by a comparison of its
// own here, not the library's.

namespace alearo::oracle {

struct Verdicts {
    Count win = 0;  // a hit against a target
    Count tie = 0;
    Count loss = 0;  // a miss against a target
    Count all = 1;
};

// Nothing when a side is too large to count or has totals past the counts.
std::optional<Verdicts> CountVerdicts(const dice::Expression& expression,
                                      std::int64_t mostCombinations);

// Where the odds are further from the counts than they claim, or say 0 or 1
// where some but not all ways lead there (or the reverse), or claim more
// than `mostClaimed`: a sentence naming the first; nothing when they agree.
std::optional<std::string> OddsDisagreement(const dice::Odds& odds, const Verdicts& exact,
                                            double mostClaimed);

}  // namespace alearo::oracle
