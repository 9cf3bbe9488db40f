// SPDX-License-Identifier: MIT
#pragma once

#include <optional>

#include "dice/expression.h"
#include "dice/total_distribution.h"

namespace alearo::dice {

// Totals a caller needs listed even where the table of a side without end
// would have stopped, such as a total asked about on its own.
struct TotalRange {
    int first = 0;
    int last = 0;
};

// A chance below which a total past the end of a side without end is not
// listed even when asked for.
constexpr Chance kLeastReachableChance = 1e-300L;

// The chance of every total of the expression, from the lowest to the highest
// (see TotalDistribution for expressions without an end). A total that cannot
// happen has chance 0, and one that can a positive chance, right to about 14
// significant digits however small it is.
TotalDistribution ExactChances(const Expression& expression,
                               std::optional<TotalRange> alsoList = std::nullopt);

// The same, the table of a side without end going on to the last total
// whose chance reaches `least` (kLeastReachableChance at the least) rather
// than kLeastListedChance.
TotalDistribution ExactChancesListedTo(const Expression& expression, Chance least);

// How ExactChances works the chances out: whichever way is faster, or, for
// tests that compare them, by the tilted transforms or by sums of products of
// chances alone.
enum class ChanceMethod { kFastest, kTransform, kDirect };
TotalDistribution ExactChances(const Expression& expression, std::optional<TotalRange> alsoList,
                               ChanceMethod method);

}  // namespace alearo::dice
