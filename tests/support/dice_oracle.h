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
// enumerate; the library's own comparison and order are not used. Terms of
// plain dice, kept or not, too large for that are counted by closed forms
// (dice_closed_forms.cpp), neither enumerating nor transforming.

namespace alearo::oracle {

using Count = boost::multiprecision::cpp_int;

// Beyond every total.
constexpr long long kFar = std::numeric_limits<long long>::max() / 4;

// As made, the totals of no term at all: 0, certainly.
struct ExactTotals {
    std::map<long long, Count> weight{{0, 1}};  // of each total, over `denominator`
    Count denominator = 1;
    // Combinations whose total is unknown, because they keep a die whose
    // chain of explosions went on past `chainDepth` extra rolls: their totals
    // all lie at `unknownFrom` or above (or at `unknownTo` or below, from a
    // subtracted term). Totals strictly between are exact.
    Count unknown = 0;
    long long unknownFrom = kFar;
    long long unknownTo = -kFar;
    bool isExact(long long total) const { return total > unknownTo && total < unknownFrom; }
};

// A term of plain dice, kept or not, of more than `mostCombinations`
// combinations of outcomes is counted by KeptTotals; nothing when a term of
// any other kind has that many.
std::optional<ExactTotals> EnumerateTotals(const dice::Expression& expression, int chainDepth,
                                           std::int64_t mostCombinations);

// The ways n dice of `faces` faces add up to each total, all of them or
// only the `kept` highest (or lowest), by closed forms: for terms far too
// large to enumerate.
std::map<long long, Count> KeptTotals(int n, int faces, int kept, bool highest);

// A claim of any size, even that no digit is known.
constexpr double kAnyClaim = std::numeric_limits<double>::infinity();

// Where the library's chances disagree with the exact ones by more than the
// error the library claims, or list a total that cannot happen, or end where
// they should not: a sentence naming the first such place; nothing when they
// agree. The claim itself must be below `mostClaimed`.
std::optional<std::string> Disagreement(const dice::TotalDistribution& computed,
                                        const ExactTotals& exact, double mostClaimed);

}  // namespace alearo::oracle
