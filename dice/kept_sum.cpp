// SPDX-License-Identifier: MIT
#include "dice/kept_sum.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "dice/spectrum.h"
#include "dice/tail_bound.h"

// Keep the k first, in the order of keeping, of n dice. Call t the slot of the
// last kept die and a < k the number of dice in slots before t: all a are
// kept, k - a of the dice showing t are, and no later die is. With G_t(x) the
// generating function of one die over the slots before t (score s as x^s),
// p_t the chance of t and L_t that of every later slot, the kept scores have
// the generating function
//
//   sum over t and a of C(n, a) Q(t, a) x^((k - a) s_t) G_t(x)^a,
//   Q(t, a) = sum over j from 0 to n - k of C(n - a, j) L_t^j p_t^(n - a - j),
//
// j being the number of dice after t, at most the n - k that are not kept.
// Each term is a chance: with H_t the chance of the slots before t,
// w(t, a) = C(n, a) H_t^a Q(t, a) is the chance that the last kept die shows t
// with a dice before it, and these add up to 1. The function is evaluated at
// the M-th roots of unity, M above the highest kept score, and one inverse
// transform gives every chance.
//
// The terms of a = 0 are plain chances of the sums k s_t, and for a sum those
// of a = 1 are shifted copies of the chances before t: both go straight to
// the result, as the frequencies would gain them nothing. For a sum spread over many values, only
// the window of sums outside which Chernoff's bound leaves a negligible chance is computed (see
// tail_bound.h): what lies outside wraps around onto the window. The kept
// dice are the first k, so the kept sum reaches b only if some k of the
// dice add up to b (C(n, k) ways) and stays below b only if the first k do.
//
// Two bounds leave out work that changes no chance by more than about 1e-15:
// terms of w(t, a) below kNegligibleTerm, and, for a sum, the high
// frequencies of each t: by summation by parts |G_t| is at most the total
// variation V_t of its coefficients over 2 sin(pi f / M), so the terms of t,
// each at most w(t, a) (V_t / (2 H_t sin(pi f / M)))^a, are left out at the
// frequencies where that is negligible for every a.

namespace alearo::dice {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kNegligibleTerm = 1e-21;
constexpr double kNegligibleTail = 1e-20;  // what each slot may leave out at a frequency
// The chance outside the window of kept sums.
constexpr double kNegligibleWindow = 1e-21;
// A kept sum over fewer values is computed whole.
constexpr std::size_t kWholeRange = 2048;

struct LogFactorials {
    std::vector<double> ln;

    explicit LogFactorials(int n) : ln(static_cast<std::size_t>(n) + 1, 0.0) {
        for (int i = 2; i <= n; ++i) {
            ln[static_cast<std::size_t>(i)] = ln[static_cast<std::size_t>(i - 1)] + std::log(i);
        }
    }

    double Choose(int n, int k) const {
        return ln[static_cast<std::size_t>(n)] - ln[static_cast<std::size_t>(k)] -
               ln[static_cast<std::size_t>(n - k)];
    }
};

// ln of the sum over j from 0 to min(d, n) of C(n, j) later^j here^(n - j),
// summed from its largest term outwards so that no term overflows or vanishes
// before the sum is known. The terms fall off on either side of the largest.
double LogSum(const LogFactorials& factorials, int n, int d, double here, double later) {
    if (!(here > 0.0)) {
        return -INFINITY;
    }
    if (!(later > 0.0)) {
        return n * std::log(here);
    }
    const int last = std::min(d, n);
    const double ratio = later / here;
    const int peak = std::clamp(static_cast<int>((n + 1) * (later / (later + here))), 0, last);
    const double lnPeak =
        factorials.Choose(n, peak) + peak * std::log(later) + (n - peak) * std::log(here);
    double sum = 1.0;
    double term = 1.0;
    for (int j = peak; j < last && term > 1e-20 * sum; ++j) {
        term *= static_cast<double>(n - j) / (j + 1) * ratio;
        sum += term;
    }
    term = 1.0;
    for (int j = peak; j > 0 && term > 1e-20 * sum; --j) {
        term *= j / (static_cast<double>(n - j + 1) * ratio);
        sum += term;
    }
    return lnPeak + std::log(sum);
}

// The terms of one slot as the last kept die's.
struct SlotTerms {
    int first = 0;                    // a0, the smallest a kept
    std::vector<double> coefficient;  // C(n, a) Q(t, a) for a from a0 on
    std::size_t frequencies = 0;      // those from 0 that need the terms
};

// target[(shift + u) mod length] += factor * chance[u] for u from first to
// last, in at most two runs that do not wrap.
void AddShifted(const std::vector<double>& chance, std::size_t first, std::size_t last,
                std::size_t shift, double factor, std::vector<double>& target) {
    const std::size_t length = target.size();
    std::size_t u = first;
    while (u <= last) {
        const std::size_t at = (shift + u) % length;
        const std::size_t run = std::min(last - u + 1, length - at);
        double* out = target.data() + at;
        const double* in = chance.data() + u;
        for (std::size_t i = 0; i < run; ++i) {
            out[i] += factor * in[i];
        }
        u += run;
    }
}

}  // namespace

Spread KeptScoreChances(const KeepProblem& problem) {
    const int n = problem.dice;
    const int k = problem.kept;
    const std::vector<Slot>& slots = problem.slots;
    const std::size_t count = slots.size();
    int lowest = 0;
    int highest = 0;
    bool any = false;
    for (const Slot& slot : slots) {
        if (slot.chance > 0.0) {
            lowest = any ? std::min(lowest, slot.score) : slot.score;
            highest = any ? std::max(highest, slot.score) : slot.score;
            any = true;
        }
    }
    Spread spread;
    spread.low = static_cast<long long>(k) * lowest;
    if (!any) {
        return spread;
    }
    const std::size_t range =
        static_cast<std::size_t>(k) * static_cast<std::size_t>(highest - lowest);
    const LogFactorials factorials(n);
    // One die's chance of each score.
    std::vector<double> byScore(static_cast<std::size_t>(highest - lowest) + 1, 0.0);
    for (const Slot& slot : slots) {
        byScore[static_cast<std::size_t>(slot.score - lowest)] += slot.chance;
    }
    std::size_t from = 0;
    std::size_t to = range;
    if (problem.consecutiveScores && range + 1 > kWholeRange) {
        const std::vector<double> reversed(byScore.rbegin(), byScore.rend());
        const bool highestFirst = slots.front().score > slots.back().score;
        const double margin = -std::log(kNegligibleWindow);
        const double choose = factorials.Choose(n, k);
        const double top =
            std::ceil(UpperEnd({{&byScore, k}}, margin + (highestFirst ? choose : 0.0)));
        const double bottom =
            std::ceil(UpperEnd({{&reversed, k}}, margin + (highestFirst ? 0.0 : choose)));
        const auto range_ = static_cast<double>(range);
        to = static_cast<std::size_t>(std::clamp(top, 0.0, range_));
        from = range - static_cast<std::size_t>(std::clamp(bottom, 0.0, range_));
        if (from > to) {
            from = 0;
            to = range;
        }
    }
    const std::size_t length = TransformLength(to - from + 1);
    const std::size_t half = length / 2;

    std::vector<double> later(count + 1, problem.unknownLast);
    for (std::size_t t = count; t-- > 0;) {
        later[t] = later[t + 1] + slots[t].chance;
    }
    const double lnNegligible = std::log(kNegligibleTerm);
    std::vector<SlotTerms> terms(count);
    std::vector<double> direct(length, 0.0);  // the terms of a = 0 and 1, as chances of sums
    double before = 0.0;                      // H_t
    double variation = 0.0;                   // V_t, over the slots before t
    for (std::size_t t = 0; t < count; ++t) {
        const double here = slots[t].chance;
        const double after = later[t + 1];
        SlotTerms& slot = terms[t];
        // The last kept die shows t only if k dice or more show t or an earlier slot.
        const double upTo = std::min(1.0, before + here);
        if (here > 0.0 &&
            LogSum(factorials, n, n - k, upTo, std::max(0.0, 1.0 - upTo)) >= lnNegligible) {
            // ln C(n, a) Q(t, a), and the a whose terms are not negligible.
            const int mostA = before > 0.0 ? k - 1 : 0;
            const double lnBefore = before > 0.0 ? std::log(before) : 0.0;
            std::vector<double> lnCoefficient;
            int firstA = -1;
            int lastA = -1;
            for (int a = 0; a <= mostA; ++a) {
                lnCoefficient.push_back(factorials.Choose(n, a) +
                                        LogSum(factorials, n - a, n - k, here, after));
                if (lnCoefficient.back() + a * lnBefore >= lnNegligible) {
                    firstA = firstA < 0 ? a : firstA;
                    lastA = a;
                }
            }
            const std::size_t score = static_cast<std::size_t>(slots[t].score - lowest);
            if (firstA == 0) {
                direct[static_cast<std::size_t>(k) * score % length] += std::exp(lnCoefficient[0]);
                firstA = 1;
            }
            if (firstA == 1 && lastA >= 1 && problem.consecutiveScores) {
                // x^((k - 1) s_t) G_t(x) adds one shifted copy of the slots
                // before t: as cheap as a few frequencies, and without it the
                // remaining terms shrink faster with the frequency.
                const std::size_t near = static_cast<std::size_t>(slots[t - 1].score - lowest);
                const std::size_t far = static_cast<std::size_t>(slots[0].score - lowest);
                AddShifted(byScore, std::min(near, far), std::max(near, far),
                           static_cast<std::size_t>(k - 1) * score, std::exp(lnCoefficient[1]),
                           direct);
                firstA = 2;
            }
            slot.first = firstA;
            const double share = kNegligibleTail / std::max(1, lastA - firstA + 1);
            for (int a = std::max(firstA, 1); a <= lastA; ++a) {
                const double lnC = lnCoefficient[static_cast<std::size_t>(a)];
                slot.coefficient.push_back(std::exp(lnC));
                const double weight = std::exp(lnC + a * lnBefore);
                if (!(weight > share)) {
                    continue;
                }
                // The term of a is at most its weight times
                // (V_t / (2 H_t sin(pi f / M)))^a.
                std::size_t needed = half + 1;
                const double sine = variation / (2.0 * before * std::pow(share / weight, 1.0 / a));
                if (problem.consecutiveScores && sine < 1.0) {
                    needed = static_cast<std::size_t>(
                        std::ceil(static_cast<double>(length) / kPi * std::asin(sine)));
                }
                slot.frequencies = std::max(slot.frequencies, std::min(half + 1, needed));
            }
        }
        const double previous = t > 0 ? slots[t - 1].chance : 0.0;
        variation += std::abs(here - previous) + here - previous;
        before += here;
    }

    // The frequencies each slot's own terms need, and those any later slot
    // needs, for which G must be kept up to date.
    std::vector<std::size_t> needLater(count + 1, 0);
    for (std::size_t t = count; t-- > 0;) {
        needLater[t] = std::max(needLater[t + 1], terms[t].frequencies);
    }
    const std::size_t frequencies = needLater[0];
    const std::vector<Complex>& roots = RootsOfUnity(length);
    std::vector<Complex> g(frequencies);
    std::vector<Complex> sum(frequencies);
    // Up to the first slot whose terms count, G is one transform of the
    // slots before it rather than a sum slot by slot: with an exploding die
    // that is most of the slots.
    std::size_t start = 0;
    while (start < count && terms[start].frequencies == 0) {
        ++start;
    }
    if (start > 0 && start < count) {
        std::vector<double> upper(byScore.size(), 0.0);
        for (std::size_t t = 0; t < start; ++t) {
            upper[static_cast<std::size_t>(slots[t].score - lowest)] += slots[t].chance;
        }
        const std::vector<Complex> transform = ForwardReal(upper, length);
        std::copy(transform.begin(), transform.begin() + static_cast<std::ptrdiff_t>(frequencies),
                  g.begin());
    }
    for (std::size_t t = start; t < count; ++t) {
        const double here = slots[t].chance;
        if (!(here > 0.0)) {
            continue;
        }
        const std::size_t step = static_cast<std::size_t>(slots[t].score - lowest);
        const std::size_t keptStep = static_cast<std::size_t>(k) * step % length;
        const SlotTerms& slot = terms[t];
        const std::size_t last = slot.coefficient.size();
        std::size_t index = 0;
        std::size_t keptIndex = 0;
        for (std::size_t f = 0; f < slot.frequencies; ++f) {
            const Complex y = Times(g[f], std::conj(roots[index]));
            Complex h = slot.coefficient[last - 1];
            for (std::size_t a = last - 1; a-- > 0;) {
                h = Times(h, y) + slot.coefficient[a];
            }
            sum[f] += Times(Times(h, Power(y, slot.first)), roots[keptIndex]);
            index = index + step >= length ? index + step - length : index + step;
            keptIndex = keptIndex + keptStep >= length ? keptIndex + keptStep - length
                                                       : keptIndex + keptStep;
        }
        index = 0;
        for (std::size_t f = 0; f < needLater[t + 1]; ++f) {
            g[f] += here * roots[index];
            index = index + step >= length ? index + step - length : index + step;
        }
    }
    std::vector<double> values = InverseReal(sum, length);
    spread.low += static_cast<long long>(from);
    spread.chance.resize(to - from + 1);
    for (std::size_t s = from; s <= to; ++s) {
        spread.chance[s - from] = values[s % length] + direct[s % length];
    }
    return spread;
}

Spread BinomialChances(int dice, double success, double failure) {
    Spread spread;
    const LogFactorials factorials(dice);
    for (int j = 0; j <= dice; ++j) {
        double chance = 0.0;
        if ((j == 0 || success > 0.0) && (j == dice || failure > 0.0)) {
            chance = std::exp(factorials.Choose(dice, j) + (j > 0 ? j * std::log(success) : 0.0) +
                              (j < dice ? (dice - j) * std::log(failure) : 0.0));
        }
        spread.chance.push_back(chance);
    }
    return spread;
}

}  // namespace alearo::dice
