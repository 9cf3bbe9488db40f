// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <vector>

#include "dice/chance.h"
#include "dice/detail/factor.h"
#include "dice/detail/support.h"

// The chance of every total of a sum of independent factors, each to all the
// digits a long double holds but a few, however far in a tail. Internal to the
// dice library.
//
// Method: exponential tilting, the Esscher transform (Esscher 1932; Butler,
// "Saddlepoint Approximations with Applications", 2007, ch. 5).
//
// One transform of the factors' values on the unit circle gives every chance
// to within about 1e-18 of the largest, which is no digit at all of a chance
// below 1e-18. Tilted by e^(theta s), the law of the sum has its likely totals
// wherever theta puts them; the transform then resolves the totals near them
// to all their digits, and the tilt is undone: chance = tilted chance times
// e^(ln mass - theta s). A few tilts, each placed where the last one's
// resolved totals end, cover every total.

namespace alearo::dice {

struct Sum {
    std::vector<std::unique_ptr<Factor>> factors;
    long long constant = 0;

    long long lowest() const;
    long long highest() const;
};

struct SumChances {
    long long first = 0;
    std::vector<Chance> chance;  // of the totals from first on; 0 for those that cannot happen
    double relativeError = 0.0;  // a bound on the relative error of every chance
    // The tilts may leave unresolved a few totals at an end, where a law
    // leaps from one peak to another: those up to lowUnresolved and from
    // highUnresolved on (first - 1 and past the last when none), the others
    // being within errorBetween.
    long long lowUnresolved = 0;
    long long highUnresolved = 0;
    double errorBetween = 0.0;
};

// How the chances are worked out: by the tilted transforms, by sums of
// products of the factors' chances (for sums small enough), or whichever is
// faster. Tests compare the two.
enum class SumMethod { kFastest, kTransform, kDirect };

// The totals asked for. On a side without end (open) the chances only need
// to be right as far as `negligible` of chance is left out beyond a total:
// there each factor may leave out the scores past its own tail of that much.
struct SumRequest {
    long long first = 0;
    long long last = 0;
    bool openBelow = false;
    bool openAbove = false;
    Chance negligible = 0.0L;
};

// The chance of every total from `first` to `last` that `possible` holds.
SumChances ChancesOfSum(Sum& sum, const Support& possible, const SumRequest& request,
                        SumMethod method = SumMethod::kFastest);

// A total the sum reaches or passes with a chance of at most `tail` (passes
// downwards when `upwards` is false), by Chernoff's bound P(S >= b) <= E
// e^(l S) e^(-l b) (Chernoff 1952), least over l.
long long TailEnd(const Sum& sum, Chance tail, bool upwards);

// A bound, by Chernoff's bound, on the chance that the sum reaches `total`
// or passes it (downwards when `upwards` is false).
Chance TailChance(const Sum& sum, long long total, bool upwards);

}  // namespace alearo::dice
