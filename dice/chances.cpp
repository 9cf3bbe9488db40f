// SPDX-License-Identifier: MIT
#include "dice/chances.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

#include "dice/detail/count_law.h"
#include "dice/detail/die_law.h"
#include "dice/detail/kept_factor.h"
#include "dice/detail/support.h"
#include "dice/detail/tilted_sum.h"

// Each term's score (its sum, or its count of successes) is a factor of its
// own, and the total is their sum: tilted_sum.h works out its chances. Which
// totals can happen at all comes from the same laws, on whole numbers.
//
// A term that explodes without a max has no highest score. Its dice are
// followed as far as leaves out a negligible chance, the totals are worked out
// as far as Chernoff's bound leaves a negligible chance beyond, and the table
// lists them as far as their chances reach kLeastListedChance.

namespace alearo::dice {

namespace {

// How far past the smallest chance that must be right the computation goes:
// the totals beyond the last computed one change the at-least chance of the
// last listed total in its 17th digit at most, and the chains of the dice
// beyond their last value ten digits further on.
constexpr Chance kBeyondComputed = 1e-17L;
constexpr Chance kBeyondChain = 1e-10L;

struct Built {
    Sum sum;
    Support possible = Support::Point(0);
    bool hasLowest = true;
    bool hasHighest = true;
};

// Where the totals are worked out, for the dice of a term without end to be
// followed just far enough: past the values that could still leave the total
// within the range, and no further, so that a tilt towards the far end of
// the range does not find most of its chance past it.
struct Range {
    long long first = 0;
    long long last = 0;
    long long lowest = 0;   // the lowest and highest totals as far as the
    long long highest = 0;  // dice were followed before
};

// The factors and the totals that can happen, with the dice followed until
// what is left of each is below `negligible`, or over `range`.
Built Build(const Expression& expression, Chance negligible, std::optional<Range> range = {}) {
    Built built;
    std::vector<std::pair<const Term*, int>> distinct;  // each term and how often it is typed
    for (const Term& term : expression.terms) {
        if (!term.isDice) {
            built.sum.constant += term.negative ? -term.number : term.number;
            continue;
        }
        const auto same = std::find_if(distinct.begin(), distinct.end(),
                                       [&](const auto& seen) { return *seen.first == term; });
        if (same != distinct.end()) {
            ++same->second;
        } else {
            distinct.push_back({&term, 1});
        }
    }
    std::vector<Support> supports;
    for (const auto& [term, times] : distinct) {
        const DiceTerm& dice = term->dice;
        DieLaw law = DieLawOf(dice, negligible, 0);
        if (range && law.endless) {
            // Past a value that would take the total out of the range with
            // every other die at its lowest, or out of reach of `negligible`.
            const long long reach = term->negative ? range->highest - range->first + law.lowest
                                                   : range->last - range->lowest + law.lowest;
            if (reach < law.Highest()) {
                law = DieLawOf(dice, 1.0L, reach);
            }
        }
        const int kept = KeptCount(dice);
        Support score;
        std::vector<std::unique_ptr<Factor>> factors;
        if (dice.success) {
            const std::vector<Chance> counts = SuccessCountChances(dice, law);
            score = Support::OfChances(0, counts);
            factors.push_back(PowerOf(0, counts, times));
        } else {
            const Support values = Support::OfChances(law.lowest, law.chance);
            score = values.Multiple(kept, kept * values.Lowest(), kept * values.Highest());
            if (kept == dice.count) {
                factors.push_back(PowerOf(law.lowest, law.chance, dice.count * times));
            } else {
                for (int i = 0; i < times; ++i) {
                    factors.push_back(KeptSumOf(law, dice.count, kept, KeepsHighest(dice)));
                }
            }
            if (law.endless) {
                (term->negative ? built.hasLowest : built.hasHighest) = false;
            }
        }
        score = score.Multiple(times, times * score.Lowest(), times * score.Highest());
        if (score.Lowest() == score.Highest()) {
            // A score that is always the same adds a number.
            built.sum.constant += term->negative ? -score.Lowest() : score.Lowest();
            continue;
        }
        supports.push_back(term->negative ? score.Negated() : score);
        for (auto& factor : factors) {
            built.sum.factors.push_back(term->negative ? Negated(std::move(factor))
                                                       : std::move(factor));
        }
    }
    built.possible = Support::Point(built.sum.constant);
    for (const Support& score : supports) {
        built.possible = SumOf(built.possible, score, built.possible.Lowest() + score.Lowest(),
                               built.possible.Highest() + score.Highest());
    }
    return built;
}

}  // namespace

TotalDistribution ExactChances(const Expression& expression, std::optional<TotalRange> alsoList) {
    return ExactChances(expression, alsoList, ChanceMethod::kFastest);
}

TotalDistribution ExactChances(const Expression& expression, std::optional<TotalRange> alsoList,
                               ChanceMethod method) {
    TotalDistribution distribution;
    if (expression.terms.empty()) {
        return distribution;
    }
    Chance depth = kLeastListedChance;
    Built built = Build(expression, depth * kBeyondComputed * kBeyondChain);
    if (alsoList && !(built.hasLowest && built.hasHighest)) {
        // A total asked for past where the table stops: deep enough to list
        // it with all its digits, if its chance is not below the least.
        Chance needed = depth;
        if (!built.hasHighest) {
            needed = std::min(needed, TailChance(built.sum, alsoList->last, true));
        }
        if (!built.hasLowest) {
            needed = std::min(needed, TailChance(built.sum, alsoList->first, false));
        }
        if (needed < depth) {
            depth = std::max(needed * 1e-10L, kLeastReachableChance * 1e-10L);
            built = Build(expression, depth * kBeyondComputed * kBeyondChain);
        }
    }
    const Chance beyond = depth * kBeyondComputed;
    const long long first =
        built.hasLowest ? built.sum.Lowest() : TailEnd(built.sum, beyond, false);
    const long long last =
        built.hasHighest ? built.sum.Highest() : TailEnd(built.sum, beyond, true);
    if (!(built.hasLowest && built.hasHighest)) {
        const Range range{first, last, built.sum.Lowest(), built.sum.Highest()};
        built = Build(expression, depth * kBeyondComputed * kBeyondChain, range);
    }
    Sum& parts = built.sum;
    SumChances chances;
    if (parts.factors.empty()) {
        chances.first = parts.constant;
        chances.chance = {1.0L};
    } else {
        const SumRequest request{first, last, !built.hasLowest, !built.hasHighest,
                                 beyond * kBeyondChain};
        chances = ChancesOfSum(parts, built.possible, request,
                               method == ChanceMethod::kTransform ? SumMethod::kTransform
                               : method == ChanceMethod::kDirect  ? SumMethod::kDirect
                                                                  : SumMethod::kFastest);
    }
    const auto chanceOf = [&](long long total) {
        return chances.chance[static_cast<std::size_t>(total - chances.first)];
    };

    // The chance of at most and at least each total, summed from its own end.
    const auto count = static_cast<std::size_t>(last - first + 1);
    std::vector<Chance> atMost(count);
    std::vector<Chance> atLeast(count);
    Chance below = 0.0L;
    Chance above = 0.0L;
    for (std::size_t i = 0; i < count; ++i) {
        below += chances.chance[i];
        atMost[i] = std::min(below, 1.0L);
        above += chances.chance[count - 1 - i];
        atLeast[count - 1 - i] = std::min(above, 1.0L);
    }

    // The listed totals: all of them, or on a side without end those whose
    // chance reaches the least listed, and any asked for whose chance past it
    // reaches the least reachable.
    long long listedFirst = first;
    long long listedLast = last;
    if (!built.hasLowest) {
        while (listedFirst < last && chanceOf(listedFirst) < kLeastListedChance) {
            ++listedFirst;
        }
    }
    if (!built.hasHighest) {
        while (listedLast > listedFirst && chanceOf(listedLast) < kLeastListedChance) {
            --listedLast;
        }
    }
    if (alsoList && !built.hasLowest) {
        const long long asked = std::max<long long>(alsoList->first, first);
        if (asked < listedFirst &&
            atMost[static_cast<std::size_t>(asked - first)] >= kLeastReachableChance) {
            listedFirst = asked;
        }
    }
    if (alsoList && !built.hasHighest) {
        const long long asked = std::min<long long>(alsoList->last, last);
        if (asked > listedLast &&
            atLeast[static_cast<std::size_t>(asked - first)] >= kLeastReachableChance) {
            listedLast = asked;
        }
    }

    distribution.minTotal = static_cast<int>(listedFirst);
    distribution.hasLowest = built.hasLowest;
    distribution.hasHighest = built.hasHighest;
    distribution.relativeError = chances.relativeError;
    const auto from = static_cast<std::ptrdiff_t>(listedFirst - first);
    const auto to = static_cast<std::ptrdiff_t>(listedLast - first) + 1;
    distribution.exactly.assign(chances.chance.begin() + from, chances.chance.begin() + to);
    distribution.atLeast.assign(atLeast.begin() + from, atLeast.begin() + to);
    distribution.atMost.assign(atMost.begin() + from, atMost.begin() + to);
    // Every roll reaches the lowest total and none passes the highest: these
    // are certain, not merely within round-off of it.
    if (built.hasLowest) {
        distribution.atLeast.front() = 1.0L;
    }
    if (built.hasHighest) {
        distribution.atMost.back() = 1.0L;
    }
    if (first == last) {
        distribution.exactly.front() = 1.0L;
    }
    return distribution;
}

}  // namespace alearo::dice
