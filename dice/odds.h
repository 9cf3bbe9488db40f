// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "dice/chance.h"
#include "dice/expression.h"
#include "dice/total_distribution.h"

namespace alearo::dice {

// How a roll with "vs" came out. Against a target it hits or misses; against
// an opponent it wins on a higher total, ties on an equal one and loses on a
// lower one.
enum class Verdict { kHit, kMiss, kWin, kTie, kLoss };

// The verdict of a roll's totals; the expression has a target or an opponent.
Verdict VerdictOf(const Expression& expression, int total, int opponentTotal);

// The verdicts the expression's roll can come to, in the order they are
// listed: hit and miss against a target, win, tie and loss against an
// opponent.
std::vector<Verdict> PossibleVerdicts(const Expression& expression);

// "hit", "miss", "win", "tie" or "loss", and the verdict of such a word.
const char* VerdictText(Verdict verdict);
std::optional<Verdict> VerdictNamed(std::string_view text);

// The exact chance of each verdict. Against a target a hit counts as a win
// and a miss as a loss, and the tie is 0. A certain verdict has chance 1
// exactly, and one that cannot happen 0 exactly.
struct Odds {
    Chance win = 0;
    Chance tie = 0;
    Chance loss = 0;
    // No chance is further from the exact one than this share of it.
    double relativeError = 0.0;

    Chance chanceOf(Verdict verdict) const;
};

// The odds of an expression with a target or an opponent, worked out from
// the exact chances of each side's totals (for an opponent, the law of the
// difference of the two totals, summed from each end). Nothing when a chance
// lies below kLeastReachableChance past the end of a side without end, too
// small to be worked out.
std::optional<Odds> ExactOdds(const Expression& expression);

// The same, starting from the chances of the roll's own totals worked out
// already, as ExactChances gives them, which serve as far as they reach.
std::optional<Odds> ExactOdds(const Expression& expression, const TotalDistribution& roll);

// The same from the chances of the totals worked out already: of a roll
// against a target (nothing unless the totals next to it are known), or
// against an opponent's roll (nothing when totals past the listed ones of
// a side without end leave fewer digits than kEnoughError allows).
std::optional<Odds> OddsAgainstTarget(const TotalDistribution& law, const Condition& target);
std::optional<Odds> OddsAgainst(const TotalDistribution& roll, const TotalDistribution& opponent);

// The share of itself that any chance of the odds is known to at least.
constexpr double kEnoughError = 1e-12;

}  // namespace alearo::dice
