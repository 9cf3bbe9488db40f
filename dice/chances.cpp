// SPDX-License-Identifier: MIT
#include "dice/chances.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <utility>

#include "dice/die_law.h"
#include "dice/kept_sum.h"
#include "dice/spectrum.h"
#include "dice/support.h"
#include "dice/tail_bound.h"

// Each term's score (its sum, or its count of successes) is a distribution of
// its own; the total's is their convolution, shifted by the numbers. A term
// whose dice are all kept is a power of one die's distribution, one that keeps
// some of its dice goes through the order statistics of kept_sum.cpp, and a
// term typed again is a power of the first. The powers and the product are
// taken at the roots of unity, and only over the window of totals outside
// which Chernoff's bound leaves at most kNegligibleWindow of chance (see
// tail_bound.h): what falls outside wraps around onto the window, so it
// changes no chance by more than that. Which totals can happen at all is
// worked out apart, on whole numbers, so that a possible total never shows a
// chance of 0.
//
// An exploding die has no highest value: its chain is cut where at most
// kNegligibleDie of chance is left, and rolls that reach past the cut are
// counted beyond the highest total.

namespace alearo::dice {

namespace {

constexpr double kNegligibleDie = 1e-21;
constexpr double kNegligibleWindow = 1e-21;
// Below this much work, plain convolution beats the transforms.
constexpr std::size_t kDirectWork = std::size_t{1} << 14;
// A total over fewer values is computed whole.
constexpr std::size_t kWholeRange = 2048;
constexpr long long kFar = std::numeric_limits<long long>::max() / 4;

std::vector<double> Convolved(const std::vector<double>& a, const std::vector<double>& b) {
    std::vector<double> result(a.size() + b.size() - 1, 0.0);
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] == 0.0) {
            continue;
        }
        for (std::size_t j = 0; j < b.size(); ++j) {
            result[i + j] += a[i] * b[j];
        }
    }
    return result;
}

// One factor of the total's generating function: `power` independent draws
// from `chance`, chance[i] that of low + i.
struct Factor {
    long long low = 0;
    std::vector<double> chance;
    int power = 1;
};

// Everything about one term the total needs.
struct TermChances {
    bool negative = false;
    Factor factor;      // its score, before the sign
    double lost = 0.0;  // chance of scores left out, all of them above the factor
    long long lowest = 0;
    long long highest = 0;  // unused when unbounded
    bool unbounded = false;
    const DiceTerm* dice = nullptr;  // null for a number
    long long dieLowest = 0;
    std::size_t first = 0;  // the index of the first term equal to this one
};

bool CanFail(const Support& values, const Condition& c) {
    switch (c.compare) {
        case Compare::kEqual:
            return values.Lowest() != c.value || values.Highest() != c.value;
        case Compare::kLess:
            return values.Highest() >= c.value;
        case Compare::kLessOrEqual:
            return values.Highest() > c.value;
        case Compare::kGreater:
            return values.Lowest() <= c.value;
        case Compare::kGreaterOrEqual:
            return values.Lowest() < c.value;
    }
    return true;
}

bool CanMatch(const Support& values, const Condition& c) {
    switch (c.compare) {
        case Compare::kEqual:
            return values.Contains(c.value);
        case Compare::kLess:
            return values.Lowest() < c.value;
        case Compare::kLessOrEqual:
            return values.Lowest() <= c.value;
        case Compare::kGreater:
            return values.Highest() > c.value;
        case Compare::kGreaterOrEqual:
            return values.Highest() >= c.value;
    }
    return true;
}

// Past every number a term can compare with, so that the values of an
// exploding die up to here tell whether it can match and fail.
constexpr long long kCompareCap = kMaxNumber + 2LL * kMaxFaces + 2;

TermChances DiceChances(const DiceTerm& dice) {
    TermChances term;
    term.dice = &dice;
    const int kept = KeptCount(dice);
    const DieLaw law = DieLawOf(dice, kNegligibleDie);
    // Only a comparison needs the values of an exploding die followed far.
    const Support values = DieSupportOf(dice, dice.success ? kCompareCap : kMaxFaces);
    term.dieLowest = values.Lowest();
    const bool keepsAll = kept == dice.count;
    const bool keepHighest =
        dice.selection == Selection::kKeepHighest || dice.selection == Selection::kDropLowest;

    // The values in the order of keeping.
    const auto slotsOf = [&](auto score) {
        std::vector<Slot> slots;
        for (std::size_t i = 0; i < law.chance.size(); ++i) {
            const int value = law.lowest + static_cast<int>(i);
            slots.push_back({law.chance[i], score(value)});
        }
        if (keepHighest) {
            std::reverse(slots.begin(), slots.end());
        }
        return slots;
    };

    if (dice.success) {
        const Condition condition = *dice.success;
        term.lowest = CanFail(values, condition) ? 0 : kept;
        term.highest = CanMatch(values, condition) ? kept : 0;
        if (keepsAll) {
            double success = law.beyondMatches ? law.beyond : 0.0;
            double failure = law.beyondMatches ? 0.0 : law.beyond;
            for (std::size_t i = 0; i < law.chance.size(); ++i) {
                const bool match = Matches(condition, law.lowest + static_cast<int>(i));
                (match ? success : failure) += law.chance[i];
            }
            const Spread binomial = BinomialChances(dice.count, success, failure);
            term.factor = {binomial.low, binomial.chance, 1};
            return term;
        }
        KeepProblem problem;
        problem.slots = slotsOf([&](int value) { return Matches(condition, value) ? 1 : 0; });
        // The values past the chain are the highest and match alike.
        const Slot beyond{law.beyond, law.beyondMatches ? 1 : 0};
        if (law.beyond > 0.0) {
            problem.slots.insert(keepHighest ? problem.slots.begin() : problem.slots.end(), beyond);
        }
        problem.dice = dice.count;
        problem.kept = kept;
        const Spread spread = KeptScoreChances(problem);
        term.factor = {spread.low, spread.chance, 1};
        return term;
    }

    term.unbounded = HasNoHighest(dice);
    term.lowest = static_cast<long long>(kept) * values.Lowest();
    term.highest = static_cast<long long>(kept) * values.Highest();
    term.lost = dice.count * law.beyond;
    if (keepsAll) {
        term.factor = {law.lowest, law.chance, dice.count};
        return term;
    }
    KeepProblem problem;
    problem.slots = slotsOf([](int value) { return value; });
    (keepHighest ? problem.unknownFirst : problem.unknownLast) = law.beyond;
    problem.dice = dice.count;
    problem.kept = kept;
    problem.consecutiveScores = true;
    const Spread spread = KeptScoreChances(problem);
    term.factor = {spread.low, spread.chance, 1};
    return term;
}

Factor Signed(const TermChances& term) {
    Factor factor = term.factor;
    if (term.negative) {
        std::reverse(factor.chance.begin(), factor.chance.end());
        factor.low = -(factor.low + static_cast<long long>(factor.chance.size()) - 1);
    }
    return factor;
}

// The distribution of the sum of independent factors.
Spread SumOfFactors(const std::vector<Factor>& factors) {
    Spread total;
    double scale = 1.0;
    std::vector<const Factor*> wide;
    std::size_t range = 1;   // the number of totals from the lowest to the highest
    std::size_t direct = 0;  // the work of convolving the factors term by term
    for (const Factor& factor : factors) {
        total.low += factor.power * factor.low;
        if (factor.chance.size() == 1) {
            scale *= std::pow(factor.chance[0], factor.power);
            continue;
        }
        wide.push_back(&factor);
        for (int i = 0; i < factor.power; ++i) {
            direct += range * factor.chance.size();
            range += factor.chance.size() - 1;
        }
    }
    if (wide.empty()) {
        total.chance = {scale};
        return total;
    }
    if (direct <= kDirectWork) {
        total.chance = {scale};
        for (const Factor* factor : wide) {
            for (int i = 0; i < factor->power; ++i) {
                total.chance = Convolved(total.chance, factor->chance);
            }
        }
        return total;
    }
    std::size_t from = 0;
    std::size_t to = range - 1;
    if (range > kWholeRange) {
        std::vector<std::vector<double>> reversed;
        reversed.reserve(wide.size());
        std::vector<Draws> up;
        std::vector<Draws> down;
        for (const Factor* factor : wide) {
            reversed.emplace_back(factor->chance.rbegin(), factor->chance.rend());
            up.push_back({&factor->chance, factor->power});
            down.push_back({&reversed.back(), factor->power});
        }
        const double margin = -std::log(kNegligibleWindow);
        const double last = static_cast<double>(range - 1);
        to = static_cast<std::size_t>(std::clamp(std::ceil(UpperEnd(up, margin)), 0.0, last));
        from = range - 1 -
               static_cast<std::size_t>(std::clamp(std::ceil(UpperEnd(down, margin)), 0.0, last));
        if (from > to) {
            from = 0;
            to = range - 1;
        }
    }
    const std::size_t length = TransformLength(to - from + 1);
    std::vector<Complex> product(length / 2 + 1, Complex(scale));
    for (const Factor* factor : wide) {
        const std::vector<Complex> transform = ForwardReal(factor->chance, length);
        for (std::size_t k = 0; k < product.size(); ++k) {
            product[k] = Times(product[k], Power(transform[k], factor->power));
        }
    }
    const std::vector<double> sums = InverseReal(product, length);
    total.low += static_cast<long long>(from);
    total.chance.resize(to - from + 1);
    for (std::size_t s = from; s <= to; ++s) {
        total.chance[s - from] = sums[s % length];
    }
    return total;
}

// The scores of one term that can happen, up to `cap` for one without a
// highest score.
Support TermSupport(const TermChances& term, long long cap) {
    if (term.dice == nullptr) {
        return SupportOf({{term.lowest, term.lowest}});
    }
    const DiceTerm& dice = *term.dice;
    const int kept = KeptCount(dice);
    if (dice.success) {
        return SupportOf({{term.lowest, term.highest}});
    }
    const long long highest = term.unbounded ? cap : term.highest;
    const long long dieCap = highest - (kept - 1) * term.dieLowest;
    return MultipleOf(DieSupportOf(dice, std::max(dieCap, term.dieLowest)), kept, term.lowest,
                      highest);
}

}  // namespace

TotalDistribution ExactChances(const Expression& expression) {
    TotalDistribution distribution;
    if (expression.terms.empty()) {
        return distribution;
    }
    std::vector<TermChances> terms;
    terms.reserve(expression.terms.size());
    for (const Term& term : expression.terms) {
        const std::size_t index = terms.size();
        const auto same = std::find(expression.terms.begin(), expression.terms.end(), term);
        const auto first = static_cast<std::size_t>(same - expression.terms.begin());
        TermChances chances;
        if (first < index) {
            chances = terms[first];
        } else if (term.isDice) {
            chances = DiceChances(term.dice);
        } else {
            chances.factor = {term.number, {1.0}, 1};
            chances.lowest = chances.highest = term.number;
        }
        chances.negative = term.negative;
        chances.first = first;
        terms.push_back(std::move(chances));
    }

    // A term typed again adds a power of the first, not a factor of its own.
    std::vector<Factor> factors;
    std::vector<std::size_t> factorOf(terms.size());
    double lostHigh = 0.0;
    double lostLow = 0.0;
    bool boundedBelow = true;
    bool boundedAbove = true;
    long long lowestTotal = 0;
    long long highestTotal = 0;
    for (std::size_t j = 0; j < terms.size(); ++j) {
        const TermChances& term = terms[j];
        if (term.first < j) {
            factors[factorOf[term.first]].power += term.factor.power;
        } else {
            factorOf[j] = factors.size();
            factors.push_back(Signed(term));
        }
        (term.negative ? lostLow : lostHigh) += term.lost;
        (term.negative ? boundedBelow : boundedAbove) &= !term.unbounded;
        lowestTotal += term.negative ? -term.highest : term.lowest;
        highestTotal += term.negative ? -term.lowest : term.highest;
    }
    const Spread total = SumOfFactors(factors);
    std::vector<double> raw(total.chance.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
        raw[i] = std::max(0.0, total.chance[i]);
    }
    const long long totalHigh = total.low + static_cast<long long>(raw.size()) - 1;

    // An end without a last total is where the listed chances stop.
    if (!boundedBelow) {
        std::size_t i = 0;
        while (i + 1 < raw.size() && raw[i] < kLeastListedChance) {
            ++i;
        }
        lowestTotal = total.low + static_cast<long long>(i);
    }
    if (!boundedAbove) {
        std::size_t i = raw.size() - 1;
        while (i > 0 && raw[i] < kLeastListedChance) {
            --i;
        }
        highestTotal = total.low + static_cast<long long>(i);
    }

    highestTotal = std::max(highestTotal, lowestTotal);

    // The totals that can happen between the two ends. A term without a
    // highest score need not be followed further than the other terms let
    // it reach the last listed total.
    Support possible = SupportOf({{0, 0}});
    for (std::size_t j = 0; j < terms.size(); ++j) {
        const TermChances& term = terms[j];
        long long cap = kFar;
        if (term.unbounded) {
            bool othersBounded = true;
            long long others = 0;
            for (std::size_t i = 0; i < terms.size(); ++i) {
                if (i == j) {
                    continue;
                }
                // The least the other terms add (for a subtracted term, the
                // most they add, against the lowest total).
                const TermChances& other = terms[i];
                if (term.negative ? (other.negative ? false : other.unbounded)
                                  : (other.negative && other.unbounded)) {
                    othersBounded = false;
                }
                others += term.negative ? (other.negative ? -other.lowest : other.highest)
                                        : (other.negative ? -other.highest : other.lowest);
            }
            const long long reach =
                term.factor.low +
                term.factor.power * static_cast<long long>(term.factor.chance.size());
            cap = othersBounded ? (term.negative ? others - lowestTotal : highestTotal - others)
                                : reach + (highestTotal - lowestTotal);
        }
        const Support score = TermSupport(term, cap);
        possible = SumOf(possible, term.negative ? Negated(score) : score, -kFar, kFar);
    }
    possible = SumOf(possible, SupportOf({{0, 0}}), lowestTotal, highestTotal);

    const std::size_t rows = static_cast<std::size_t>(highestTotal - lowestTotal + 1);
    distribution.minTotal = static_cast<int>(lowestTotal);
    distribution.exactly.assign(rows, 0.0);
    distribution.atLeast.assign(rows, 0.0);
    distribution.atMost.assign(rows, 0.0);
    const auto chanceOf = [&](long long value) {
        return value < total.low || value > totalHigh
                   ? 0.0
                   : raw[static_cast<std::size_t>(value - total.low)];
    };
    double below = lostLow;
    double above = lostHigh;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const long long value = total.low + static_cast<long long>(i);
        if (value < lowestTotal) {
            below += raw[i];
        } else if (value > highestTotal) {
            above += raw[i];
        }
    }
    constexpr double kLeast = std::numeric_limits<double>::denorm_min();
    double sum = below;
    for (std::size_t i = 0; i < rows; ++i) {
        const long long value = lowestTotal + static_cast<long long>(i);
        sum += chanceOf(value);
        distribution.atMost[i] = std::clamp(sum, kLeast, 1.0);
        distribution.exactly[i] =
            possible.Contains(value) ? std::max(chanceOf(value), kLeast) : 0.0;
    }
    sum = above;
    for (std::size_t i = rows; i-- > 0;) {
        sum += chanceOf(lowestTotal + static_cast<long long>(i));
        distribution.atLeast[i] = std::clamp(sum, kLeast, 1.0);
    }
    // With a lowest (highest) total every roll reaches it (stays within it):
    // certain, not merely within round-off of certain.
    if (boundedBelow) {
        distribution.atLeast.front() = 1.0;
    }
    if (boundedAbove) {
        distribution.atMost.back() = 1.0;
    }
    return distribution;
}

}  // namespace alearo::dice
