// SPDX-License-Identifier: MIT
#include "dice_oracle.h"

#include <algorithm>
#include <boost/multiprecision/cpp_bin_float.hpp>
#include <cmath>
#include <cstdio>
#include <limits>
#include <vector>

namespace alearo::oracle {

namespace {

// A comparison written out again, so that a fault in the library's cannot
// hide here.
bool Meets(const dice::Condition& c, long long v) {
    using dice::Compare;
    const Compare k = c.compare;
    return k == Compare::kEqual         ? v == c.value
           : k == Compare::kLess        ? v < c.value
           : k == Compare::kGreater     ? v > c.value
           : k == Compare::kLessOrEqual ? v <= c.value
                                        : v >= c.value;
}

// One way a die can come out: what it counts as, or, for a chain cut short,
// only that it lies above every value and number of the term.
struct Outcome {
    long long value = 0;
    bool past = false;  // the chain went on past the depth followed
    Count weight;
};

struct DieOutcomes {
    std::vector<Outcome> outcomes;
    Count denominator = 1;
};

long long Limited(const dice::DiceTerm& d, long long value) {
    value =
        d.minimum ? std::max<long long>(value + d.faceOffset, *d.minimum) : value + d.faceOffset;
    return d.maximum ? std::min<long long>(value, *d.maximum) : value;
}

// Every sequence of faces a player can roll for one die, as they roll them.
DieOutcomes OutcomesOfDie(const dice::DiceTerm& d, int depth) {
    const long long low = d.fate ? -1 : 1;
    const long long faces = d.fate ? 3 : d.faces;
    const long long top = low + faces - 1;
    const auto rerolled = [&](long long face) {
        return d.reroll && Meets(d.reroll->condition, face);
    };
    // The face that stands first, with weights over `first`.
    // "r" rolls until a face stands: each standing face alike. "ro" rolls
    // once more: a face set aside gives way to any face.
    const bool once = d.reroll && d.reroll->once;
    std::vector<std::pair<long long, Count>> standing;
    Count first = once ? faces * faces : 0;
    for (long long face = low; face <= top; ++face) {
        if (!rerolled(face)) {
            standing.push_back({face, once ? faces : 1});
            first += once ? 0 : 1;
        } else if (once) {
            for (long long again = low; again <= top; ++again) {
                standing.push_back({again, 1});
            }
        }
    }
    DieOutcomes die;
    Count chainDenominator = 1;
    for (int i = 0; i < (d.explode ? depth : 0); ++i) {
        chainDenominator *= faces;
    }
    die.denominator = first * chainDenominator;
    for (const auto& [face, weight] : standing) {
        if (!d.explode || face != top) {
            die.outcomes.push_back({Limited(d, face), false, weight * chainDenominator});
            continue;
        }
        // The chain: extra rolls while they show the top face.
        long long sum = face;
        Count level = weight * chainDenominator;
        for (int extra = 1; extra <= depth; ++extra) {
            level /= faces;
            for (long long next = low; next < top; ++next) {
                die.outcomes.push_back({Limited(d, sum + next), false, level});
            }
            sum += top;
        }
        // Past the depth: every value from here on lies above the last sum.
        if (d.maximum) {
            die.outcomes.push_back({Limited(d, sum + low), false, level});
        } else {
            die.outcomes.push_back({sum + low, true, level});
        }
    }
    return die;
}

struct TermScores {
    std::map<long long, Count> weight;
    Count denominator = 1;
    Count unknown = 0;
    long long unknownLeast = kFar;  // the least score of an unknown combination
};

// Every combination of the term's dice, one outcome each.
std::optional<TermScores> ScoresOfTerm(const dice::DiceTerm& d, int depth,
                                       std::int64_t mostCombinations) {
    const DieOutcomes die = OutcomesOfDie(d, depth);
    const auto n = static_cast<std::size_t>(d.count);
    const double combinations =
        std::pow(static_cast<double>(die.outcomes.size()), static_cast<double>(n));
    const std::size_t dropped = static_cast<std::size_t>(d.selectionCount);
    const bool keeps =
        d.selection == dice::Selection::kKeepHighest || d.selection == dice::Selection::kKeepLowest;
    const std::size_t kept = d.selection == dice::Selection::kAll ? n
                             : keeps                              ? dropped
                                                                  : n - dropped;
    const bool highest =
        d.selection == dice::Selection::kKeepHighest || d.selection == dice::Selection::kDropLowest;
    TermScores scores;
    scores.denominator = boost::multiprecision::pow(die.denominator, static_cast<unsigned>(n));
    if (combinations > static_cast<double>(mostCombinations)) {
        // Too many to enumerate: plain dice, kept or not, have closed forms.
        if (d.fate || d.reroll || d.explode || d.minimum || d.maximum || d.success ||
            d.faceOffset != 0) {
            return std::nullopt;
        }
        scores.weight = KeptTotals(d.count, d.faces, static_cast<int>(kept), highest);
        return scores;
    }
    std::vector<std::size_t> pick(n, 0);
    std::vector<const Outcome*> order(n);
    while (true) {
        Count weight = 1;
        for (std::size_t i = 0; i < n; ++i) {
            order[i] = &die.outcomes[pick[i]];
            weight *= order[i]->weight;
        }
        // A chain cut short lies above every value followed, and meets a
        // comparison only as a value above every number compared with.
        std::stable_sort(order.begin(), order.end(), [highest](const Outcome* a, const Outcome* b) {
            return highest ? a->value > b->value : a->value < b->value;
        });
        long long score = 0;
        bool unknown = false;
        for (std::size_t i = 0; i < kept; ++i) {
            unknown = unknown || (order[i]->past && !d.success);
            score += d.success ? Meets(*d.success, order[i]->value) : order[i]->value;
        }
        if (unknown) {
            scores.unknown += weight;
            scores.unknownLeast = std::min(scores.unknownLeast, score);
        } else {
            scores.weight[score] += weight;
        }
        std::size_t i = 0;
        while (i < n && ++pick[i] == die.outcomes.size()) {
            pick[i++] = 0;
        }
        if (i == n) {
            return scores;
        }
    }
}

}  // namespace

std::optional<ExactTotals> EnumerateTotals(const dice::Expression& expression, int chainDepth,
                                           std::int64_t mostCombinations) {
    ExactTotals totals;
    for (const dice::Term& term : expression.terms) {
        TermScores scores;
        if (term.isDice) {
            const dice::DiceTerm& d = term.dice;
            int depth = chainDepth;
            const long long faces = d.fate ? 3 : d.faces;
            for (const std::optional<int>& n :
                 {d.minimum, d.maximum,
                  d.success ? std::optional<int>(d.success->value) : std::nullopt}) {
                while (n && (depth + 1) * faces + d.faceOffset <= *n) {
                    ++depth;
                }
            }
            std::optional<TermScores> enumerated = ScoresOfTerm(d, depth, mostCombinations);
            if (!enumerated) {
                return std::nullopt;
            }
            scores = std::move(*enumerated);
        } else {
            scores.weight[term.number] = 1;
        }
        const long long sign = term.negative ? -1 : 1;
        std::map<long long, Count> next;
        for (const auto& [a, p] : totals.weight) {
            for (const auto& [b, q] : scores.weight) {
                next[a + sign * b] += p * q;
            }
        }
        // Unknown combinations: this term's with the known totals so far, the
        // earlier ones with any score of this term, and both together. Those
        // of an endless term added lie above a bound, those of one subtracted
        // below one; both kinds together can land anywhere.
        const Count known = totals.denominator - totals.unknown;
        const long long lowest = totals.weight.begin()->first;
        const long long highest = totals.weight.rbegin()->first;
        const long long first = scores.weight.begin()->first;
        const long long last = scores.weight.rbegin()->first;
        const long long scoreLow = sign > 0 ? first : -last;
        const long long scoreHigh = sign > 0 ? last : -first;
        const Count newUnknown = totals.unknown * scores.denominator + known * scores.unknown;
        long long from = totals.unknownFrom >= kFar ? kFar : totals.unknownFrom + scoreLow;
        long long to = totals.unknownTo <= -kFar ? -kFar : totals.unknownTo + scoreHigh;
        if (scores.unknown > 0 && sign > 0) {
            from = totals.unknownTo > -kFar ? -kFar : std::min(from, lowest + scores.unknownLeast);
        } else if (scores.unknown > 0) {
            to = std::max(to, highest - scores.unknownLeast);
            from = totals.unknownFrom < kFar ? -kFar : from;  // both ways: nothing is exact
        }
        totals.unknownFrom = from;
        totals.unknownTo = to;
        totals.unknown = newUnknown;
        totals.weight = std::move(next);
        totals.denominator *= scores.denominator;
    }
    return totals;
}

std::optional<std::string> Disagreement(const dice::TotalDistribution& computed,
                                        const ExactTotals& exact, double mostClaimed) {
    const long double claimed = computed.relativeError;
    std::optional<std::string> found;
    // Checks one number against the exact one, weight / denominator, to 50
    // digits; the first that disagrees is told. What cannot happen and what
    // is certain are so exactly, not merely within round-off, and so is where
    // the totals end (told as how far off).
    using Float = boost::multiprecision::cpp_bin_float_50;
    const Float all(exact.denominator);
    const auto check = [&](const char* what, long long total, long double got, const Count& ways) {
        const Float want = Float(ways) / all;
        const bool sure = ways == 0 || ways == exact.denominator;
        const bool agrees =
            sure ? Float(got) == want : abs(Float(got) / want - 1) <= claimed + 1e-18L;
        if (!agrees && !found) {
            char line[200];
            std::snprintf(line, sizeof line, "%s of %lld: %.20Lg, exactly %.20Lg", what, total, got,
                          static_cast<long double>(want));
            found = line;
        }
    };
    check("claimed error", 0, claimed <= mostClaimed ? 0.0L : claimed, 0);
    const long long lowest = exact.weight.begin()->first;
    const long long highest = exact.weight.rbegin()->first;
    if (exact.unknown == 0) {
        check("lowest", lowest, computed.hasLowest ? computed.minTotal - lowest : 1, 0);
        check("highest", highest, computed.hasHighest ? computed.maxTotal() - highest : 1, 0);
    }
    const auto waysOf = [&](long long t) { return exact.weight.count(t) ? exact.weight.at(t) : 0; };
    // Each total, and the running sums from each end, exact while every
    // total summed is.
    Count below = 0;
    for (long long total = std::min<long long>(lowest, computed.minTotal);
         total <= std::max<long long>(highest, computed.maxTotal()) && !found; ++total) {
        const Count weight = waysOf(total);
        const bool listed = total >= computed.minTotal && total <= computed.maxTotal();
        below = exact.isExact(total) && below >= 0 ? below : Count(-1);
        // A total likely enough to list is listed.
        const bool likely =
            exact.isExact(total) && Float(weight) / all >= Float(dice::kLeastListedChance);
        check("listing", total, listed || !likely ? 1.0L : 0.0L, exact.denominator);
        if (listed && exact.isExact(total)) {
            const auto t = static_cast<int>(total);
            check("chance", total, computed.chanceOf(t), weight);
            if (below >= 0 && computed.hasLowest) {
                check("at most", total, computed.chanceAtMost(t), below + weight);
                check("at least", total, computed.chanceAtLeast(t), exact.denominator - below);
            }
        }
        below = below >= 0 ? Count(below + weight) : below;
    }
    Count above = 0;
    for (long long total = std::max<long long>(highest, computed.maxTotal());
         total >= computed.minTotal && computed.hasHighest && !computed.hasLowest &&
         exact.isExact(total);
         --total) {
        above += waysOf(total);
        if (total <= computed.maxTotal()) {
            check("at least", total, computed.chanceAtLeast(static_cast<int>(total)), above);
        }
    }
    return found;
}

}  // namespace alearo::oracle
