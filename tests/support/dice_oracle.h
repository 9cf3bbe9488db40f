// SPDX-License-Identifier: MIT
#pragma once

#include <boost/multiprecision/cpp_int.hpp>
#include <cstdint>
#include <limits>
#include <map>
#include <optional>
#include <string>

#include "dice/expression.h"
#include "dice/total_distribution.h"

// The exact chances of an expression's totals by brute force: every face of
// every die, every combination of the dice, counted in whole numbers. A
// different algorithm from the library's, for expressions small enough to
// enumerate; the library's own comparison and order are not used.

namespace alearo::oracle {

using Count = boost::multiprecision::cpp_int;

struct ExactTotals {
    std::map<long long, Count> weight;  // of each total, over `denominator`
    Count denominator = 1;
    // Combinations whose total is unknown, because they keep a die whose
    // chain of explosions went on past `chainDepth` extra rolls: their totals
    // all lie at `unknownFrom` or above (or at `unknownTo` or below, from a
    // subtracted term). Totals strictly between are exact.
    Count unknown = 0;
    long long unknownFrom = 0;
    long long unknownTo = 0;
    bool IsExact(long long total) const { return total > unknownTo && total < unknownFrom; }
};

// Nothing when the expression has more than `mostCombinations` combinations
// of outcomes in a term.
std::optional<ExactTotals> EnumerateTotals(const dice::Expression& expression, int chainDepth,
                                           std::int64_t mostCombinations);

// weight / denominator as a long double, correctly rounded to within an ulp.
long double Ratio(const Count& weight, const Count& denominator);

// A claim of any size, even that no digit is known.
constexpr double kAnyClaim = std::numeric_limits<double>::infinity();

// Where the library's chances disagree with the exact ones by more than the
// error the library claims, or list a total that cannot happen, or end where
// they should not: a sentence naming the first such place; nothing when they
// agree. The claim itself must be below `mostClaimed`.
std::optional<std::string> Disagreement(const dice::TotalDistribution& computed,
                                        const ExactTotals& exact, double mostClaimed);

}  // namespace alearo::oracle
