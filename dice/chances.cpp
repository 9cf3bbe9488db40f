// SPDX-License-Identifier: MIT
#include "dice/chances.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstddef>
#include <utility>

#include "dice/detail/count_law.h"
#include "dice/detail/die_law.h"
#include "dice/detail/explosions.h"
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

// The totals that can happen are the sum of `copies` members of each term's
// `unit`: worked out only for the factors the chances come from, not for
// those built first to find how far to follow the dice.
struct Scores {
    Support unit;
    int copies = 1;
};

struct Built {
    Sum sum;
    std::vector<Scores> scores;
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

// Each distinct term of dice and how often it is typed; the numbers are
// added to `constant`.
std::vector<std::pair<const Term*, int>> DistinctTerms(const Expression& expression,
                                                       long long& constant) {
    std::vector<std::pair<const Term*, int>> distinct;
    for (const Term& term : expression.terms) {
        if (!term.isDice) {
            constant += term.negative ? -term.number : term.number;
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
    return distinct;
}

// How far above its lowest a term's score can still keep the total within
// the range, with every other die at its lowest; 0 without a range.
long long ReachOf(const Term& term, const std::optional<Range>& range) {
    if (!range) {
        return 0;
    }
    return term.negative ? range->highest - range->first : range->last - range->lowest;
}

// The law of one die of the term, followed until what is left is below
// `negligible`, or, for a die without end, past a value that would take the
// total out of the range with every other die at its lowest.
DieLaw FollowedLaw(const Term& term, Chance negligible, const std::optional<Range>& range) {
    DieLaw law = DieLawOf(term.dice, negligible, 0);
    if (range && law.endless) {
        const long long reach = ReachOf(term, range) + law.lowest;
        if (reach < law.highest()) {
            law = DieLawOf(term.dice, 1.0L, reach);
        }
    }
    return law;
}

// The factors of a term typed `times` times, and the scores it can come to.
struct TermParts {
    Scores score;
    std::vector<std::unique_ptr<Factor>> factors;
};

// Exploding dice that are only added up are followed as their faces and
// their explosions, two laws of few values each.
struct Followed {
    Chance negligible = 0.0L;
    long long reach = 0;  // how far above its lowest the term's score matters, or 0
};

TermParts PartsOf(const DiceTerm& dice, const DieLaw& law, int times, const Followed& followed) {
    TermParts parts;
    if (dice.success) {
        const std::vector<Chance> counts = SuccessCountChances(dice, law);
        parts.score = {Support::OfChances(0, counts), times};
        parts.factors.push_back(PowerOf(0, counts, times));
    } else {
        const int kept = KeptCount(dice);
        parts.score = {Support::OfChances(law.lowest, law.chance), kept * times};
        std::optional<std::vector<std::unique_ptr<Factor>>> exploding =
            kept == dice.count
                ? SplitExploding(dice, dice.count * times, followed.negligible, followed.reach)
                : std::nullopt;
        if (exploding) {
            parts.factors = std::move(*exploding);
        } else if (kept == dice.count) {
            parts.factors.push_back(PowerOf(law.lowest, law.chance, dice.count * times));
        } else if (kept == 1) {
            parts.factors.push_back(
                PowerOf(law.lowest, KeptOneChances(law, dice.count, KeepsHighest(dice)), times));
        } else {
            for (int i = 0; i < times; ++i) {
                parts.factors.push_back(KeptSumOf(law, dice.count, kept, KeepsHighest(dice)));
            }
        }
    }
    return parts;
}

// The factors and the totals that can happen, with the dice followed until
// what is left of each is below `negligible`, or over `range`.
Built Build(const Expression& expression, Chance negligible, std::optional<Range> range = {}) {
    Built built;
    for (const auto& [term, times] : DistinctTerms(expression, built.sum.constant)) {
        const DieLaw law = FollowedLaw(*term, negligible, range);
        TermParts parts =
            PartsOf(term->dice, law, times, Followed{negligible, ReachOf(*term, range)});
        if (!term->dice.success && law.endless) {
            (term->negative ? built.hasLowest : built.hasHighest) = false;
        }
        const Scores& score = parts.score;
        const Support& unit = score.unit;
        if (unit.lowest() == unit.highest()) {
            // A score that is always the same adds a number.
            const long long value = score.copies * unit.lowest();
            built.sum.constant += term->negative ? -value : value;
            continue;
        }
        built.scores.push_back({term->negative ? unit.negated() : unit, score.copies});
        for (auto& factor : parts.factors) {
            built.sum.factors.push_back(term->negative ? Negated(std::move(factor))
                                                       : std::move(factor));
        }
    }
    return built;
}

Support PossibleTotals(const Built& built) {
    Support possible = Support::Point(built.sum.constant);
    for (const auto& [unit, copies] : built.scores) {
        const Support score =
            unit.multiple(copies, copies * unit.lowest(), copies * unit.highest());
        possible = SumOf(possible, score, possible.lowest() + score.lowest(),
                         possible.highest() + score.highest());
    }
    return possible;
}

// How deep the chances are worked out: to the least listed chance, or, for
// a total asked for past where the table of a side without end stops, deep
// enough to list it with all its digits if its chance is not below the least
// reachable. `built` is rebuilt to that depth.
Chance Depth(const Expression& expression, const std::optional<TotalRange>& alsoList,
             Chance listedTo, Built& built) {
    const Chance depth = listedTo;
    if (built.hasLowest && built.hasHighest) {
        return depth;
    }
    if (!alsoList) {
        if (depth < kLeastListedChance) {
            built = Build(expression, depth * kBeyondComputed * kBeyondChain);
        }
        return depth;
    }
    Chance needed = depth;
    if (!built.hasHighest) {
        needed = std::min(needed, TailChance(built.sum, alsoList->last, true));
    }
    if (!built.hasLowest) {
        needed = std::min(needed, TailChance(built.sum, alsoList->first, false));
    }
    if (!(needed < depth)) {
        return depth;
    }
    const Chance deeper = std::max(needed * 1e-10L, kLeastReachableChance * 1e-10L);
    built = Build(expression, deeper * kBeyondComputed * kBeyondChain);
    return deeper;
}

SumMethod SumMethodOf(ChanceMethod method) {
    return method == ChanceMethod::kTransform ? SumMethod::kTransform
           : method == ChanceMethod::kDirect  ? SumMethod::kDirect
                                              : SumMethod::kFastest;
}

// The chance of at most and at least each total, summed from its own end.
struct Cumulative {
    std::vector<Chance> atMost;
    std::vector<Chance> atLeast;
};

Cumulative CumulativeOf(const std::vector<Chance>& chance, std::size_t count) {
    Cumulative sums{std::vector<Chance>(count), std::vector<Chance>(count)};
    Chance below = 0.0L;
    Chance above = 0.0L;
    for (std::size_t i = 0; i < count; ++i) {
        below += chance[i];
        sums.atMost[i] = std::min(below, 1.0L);
        above += chance[count - 1 - i];
        sums.atLeast[count - 1 - i] = std::min(above, 1.0L);
    }
    return sums;
}

// The listed totals: all of them, or on a side without end those whose
// chance reaches the least listed, and any asked for whose chance past it
// reaches the least reachable.
struct Listing {
    long long first = 0;
    long long last = 0;
};

Listing Listed(const Built& built, const SumChances& chances, const Cumulative& sums,
               const std::optional<TotalRange>& alsoList, Chance listedTo) {
    const long long first = chances.first;
    const long long last = first + static_cast<long long>(chances.chance.size()) - 1;
    const auto chanceOf = [&](long long total) {
        return chances.chance[static_cast<std::size_t>(total - first)];
    };
    Listing listed{first, last};
    if (!built.hasLowest) {
        while (listed.first < last && chanceOf(listed.first) < listedTo) {
            ++listed.first;
        }
    }
    if (!built.hasHighest) {
        while (listed.last > listed.first && chanceOf(listed.last) < listedTo) {
            --listed.last;
        }
    }
    if (alsoList && !built.hasLowest) {
        const long long asked = std::max<long long>(alsoList->first, first);
        if (asked < listed.first &&
            sums.atMost[static_cast<std::size_t>(asked - first)] >= kLeastReachableChance) {
            listed.first = asked;
        }
    }
    if (alsoList && !built.hasHighest) {
        const long long asked = std::min<long long>(alsoList->last, last);
        if (asked > listed.last &&
            sums.atLeast[static_cast<std::size_t>(asked - first)] >= kLeastReachableChance) {
            listed.last = asked;
        }
    }
    return listed;
}

// The listed part of the chances, trimmed in place: the largest sums list
// half a million totals. Every roll reaches the lowest total and none passes
// the highest: these are certain, not merely within round-off of it.
TotalDistribution Distribution(const Built& built, SumChances chances, Cumulative sums,
                               const Listing& listed) {
    TotalDistribution distribution;
    distribution.minTotal = static_cast<int>(listed.first);
    distribution.hasLowest = built.hasLowest;
    distribution.hasHighest = built.hasHighest;
    distribution.relativeError = chances.relativeError;
    const bool single = chances.chance.size() == 1;
    distribution.exactly = std::move(chances.chance);
    distribution.atLeast = std::move(sums.atLeast);
    distribution.atMost = std::move(sums.atMost);
    const auto from = static_cast<std::ptrdiff_t>(listed.first - chances.first);
    const auto to = static_cast<std::size_t>(listed.last - chances.first) + 1;
    for (std::vector<Chance>* column :
         {&distribution.exactly, &distribution.atLeast, &distribution.atMost}) {
        column->resize(to);
        column->erase(column->begin(), column->begin() + from);
        column->shrink_to_fit();
    }
    if (built.hasLowest) {
        distribution.atLeast.front() = 1.0L;
    }
    if (built.hasHighest) {
        distribution.atMost.back() = 1.0L;
    }
    if (single) {
        distribution.exactly.front() = 1.0L;
    }
    return distribution;
}

// Chances never negative, never more than certain, and always numbers.
[[maybe_unused]] bool AreChances(const std::vector<Chance>& chances) {
    return std::all_of(chances.begin(), chances.end(), [](Chance chance) {
        return std::isfinite(chance) && chance >= 0.0L && chance <= 1.0L + 1e-12L;
    });
}

// The chances of every total, on a side without end down to `listedTo`, or
// further to reach a total asked for.
TotalDistribution ChancesListedTo(const Expression& expression,
                                  const std::optional<TotalRange>& alsoList, ChanceMethod method,
                                  Chance listedTo) {
    if (expression.terms.empty()) {
        return {};
    }
    const Chance least = kLeastListedChance * kBeyondComputed * kBeyondChain;
    Built built = Build(expression, least);
    const Chance depth = Depth(expression, alsoList, listedTo, built);
    const Chance beyond = depth * kBeyondComputed;
    const long long first =
        built.hasLowest ? built.sum.lowest() : TailEnd(built.sum, beyond, false);
    const long long last =
        built.hasHighest ? built.sum.highest() : TailEnd(built.sum, beyond, true);
    if (!(built.hasLowest && built.hasHighest)) {
        const Range range{first, last, built.sum.lowest(), built.sum.highest()};
        built = Build(expression, depth * kBeyondComputed * kBeyondChain, range);
    }
    SumChances chances;
    if (built.sum.factors.empty()) {
        chances.first = built.sum.constant;
        chances.chance = {1.0L};
    } else {
        const SumRequest request{first, last, !built.hasLowest, !built.hasHighest,
                                 beyond * kBeyondChain};
        chances = ChancesOfSum(built.sum, PossibleTotals(built), request, SumMethodOf(method));
    }
    assert(chances.first == first &&
           chances.chance.size() == static_cast<std::size_t>(last - first + 1));
    assert(AreChances(chances.chance));
    Cumulative sums = CumulativeOf(chances.chance, chances.chance.size());
    const Listing listed = Listed(built, chances, sums, alsoList, listedTo);
    return Distribution(built, std::move(chances), std::move(sums), listed);
}

}  // namespace

TotalDistribution ExactChances(const Expression& expression, std::optional<TotalRange> alsoList) {
    return ExactChances(expression, alsoList, ChanceMethod::kFastest);
}

TotalDistribution ExactChances(const Expression& expression, std::optional<TotalRange> alsoList,
                               ChanceMethod method) {
    return ChancesListedTo(expression, alsoList, method, kLeastListedChance);
}

TotalDistribution ExactChancesListedTo(const Expression& expression, Chance least) {
    return ChancesListedTo(expression, std::nullopt, ChanceMethod::kFastest,
                           std::max(least, kLeastReachableChance));
}

}  // namespace alearo::dice
