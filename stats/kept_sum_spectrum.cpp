// SPDX-License-Identifier: MIT
#include "stats/kept_sum_spectrum.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "stats/real_transform.h"

// Write p[u] for the chance that one die shows its lowest value plus u, and
// S_m(x) = sum over u >= m of p[u] x^u, the generating function of one die
// restricted to values m and up. All n dice are at least m with generating
// function S_m^n, so the dice whose lowest is exactly m have S_m^n - S_(m+1)^n,
// and leaving that lowest out multiplies by x^-m. Summed over m this gives the
// generating function of the kept sum; without the drop it is just S_0^n.
//
// The function is evaluated at the M-th roots of unity x_k = exp(-2 pi i k/M)
// with M above the highest kept sum, so one inverse transform recovers every
// chance without wrap-around. The coefficients are real, so frequencies up to
// M/2 are enough.
//
// Two bounds leave out work that changes no chance by more than a small
// multiple of kNegligible: |S_m(x_k)| is at most the chance t_m of a value of m or more,
// so the terms of large m hardly matter for many dice; and by summation by
// parts |S_m(x_k)| is at most the total variation of p from m on divided by
// sin(pi k / M), so a high frequency hardly matters once that bound raised to
// the n-th power is negligible. For many dice only a small corner of the
// frequency-by-m table is needed.

namespace alearo {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kNegligible = 1e-18;
constexpr std::size_t kBlock = 16;

struct Plan {
    std::vector<double> faces;      // p[u] times the number of sides
    std::vector<double> chance;     // p[u]
    std::vector<double> tail;       // t[u] = sum over v >= u of p[v]
    std::vector<double> variation;  // sum over v >= u of |p[v] - p[v + 1]|, with p past the end 0
    int dice = 1;
    bool drop = false;
    int lowestValues = 1;  // values m whose term is evaluated
    std::size_t length = 0;
    std::size_t frequencies = 0;  // evaluated frequencies, from 0; the rest are negligible
    double scale = 1.0;           // sides^-dice
};

// Buffers kept from one call to the next in each thread. For the largest
// rolls, allocating them afresh each time cost more than all the arithmetic:
// the allocator handed the memory back to the system after each call and
// took it again, page by page, in the next.
struct Workspace {
    std::vector<double> rootRe;  // x_1^j for the j that the evaluation reaches
    std::vector<double> rootIm;
};

Workspace& ThreadWorkspace() {
    thread_local Workspace workspace;
    return workspace;
}

// Bound on |G(x_k)| for 1 <= k <= M/2; it never increases with k.
double SpectrumBound(const Plan& plan, std::size_t k) {
    const double sine = std::sin(kPi * static_cast<double>(k) / static_cast<double>(plan.length));
    double bound = 0.0;
    for (int m = 0; m < plan.lowestValues; ++m) {
        const auto u = static_cast<std::size_t>(m);
        const double partial = std::min({plan.tail[u], plan.variation[u] / sine,
                                         plan.chance[u] + plan.variation[u + 1] / sine});
        bound += std::pow(partial, plan.dice);
    }
    return plan.drop ? 2.0 * bound : bound;
}

Plan MakePlan(const DieValues& die, int dice, bool drop) {
    Plan plan;
    plan.dice = dice;
    plan.drop = drop;
    const std::size_t values = die.faceCounts.size();
    int sides = 0;
    for (const int count : die.faceCounts) {
        sides += count;
    }
    plan.scale = std::pow(static_cast<double>(sides), -dice);
    plan.faces.assign(die.faceCounts.begin(), die.faceCounts.end());
    plan.chance.resize(values);
    plan.tail.assign(values + 1, 0.0);
    plan.variation.assign(values + 1, 0.0);
    for (std::size_t u = values; u-- > 0;) {
        plan.chance[u] = static_cast<double>(die.faceCounts[u]) / sides;
        const double next = u + 1 < values ? plan.chance[u + 1] : 0.0;
        plan.tail[u] = plan.tail[u + 1] + plan.chance[u];
        plan.variation[u] = plan.variation[u + 1] + std::abs(plan.chance[u] - next);
    }

    const int kept = drop ? dice - 1 : dice;
    // At least 4 long, so that the transform has a frequency between the ends.
    plan.length = TransformLength(
        std::max<std::size_t>(static_cast<std::size_t>(kept) * (values - 1) + 1, 3));
    // Leaving out the terms of m >= lowestValues changes the kept sum's
    // chances by at most 2 t_m^n in all.
    plan.lowestValues = 1;
    if (drop) {
        while (static_cast<std::size_t>(plan.lowestValues) < values &&
               2.0 * std::pow(plan.tail[static_cast<std::size_t>(plan.lowestValues)], dice) >
                   kNegligible) {
            ++plan.lowestValues;
        }
    }

    // The first frequency from which on every bound is negligible.
    std::size_t low = 1;
    std::size_t high = plan.length / 2 + 1;
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (SpectrumBound(plan, middle) <= kNegligible) {
            high = middle;
        } else {
            low = middle + 1;
        }
    }
    plan.frequencies = low;
    return plan;
}

// x_1^j for each j = k m mod M the evaluation reaches; the upper half of the
// circle mirrors the lower one.
void FillRoots(const Plan& plan, Workspace& work) {
    const std::size_t reach =
        std::min(plan.length, (plan.frequencies - 1) * (plan.chance.size() - 1) + 1);
    work.rootRe.resize(reach);
    work.rootIm.resize(reach);
    for (std::size_t j = 0; j < reach; ++j) {
        if (2 * j > plan.length) {
            work.rootRe[j] = work.rootRe[plan.length - j];
            work.rootIm[j] = -work.rootIm[plan.length - j];
            continue;
        }
        const double angle = -2.0 * kPi * static_cast<double>(j) / static_cast<double>(plan.length);
        work.rootRe[j] = std::cos(angle);
        work.rootIm[j] = std::sin(angle);
    }
}

// q = s^exponent in each lane, by repeated squaring; the loops have a fixed
// trip count so that the compiler can vectorise them.
inline __attribute__((always_inline)) void RaiseToPower(const double* sr, const double* si,
                                                        int exponent, double* qr, double* qi) {
    int bit = 1;
    while (bit * 2 <= exponent) {
        bit *= 2;
    }
    std::copy(sr, sr + kBlock, qr);
    std::copy(si, si + kBlock, qi);
    for (bit /= 2; bit > 0; bit /= 2) {
        for (std::size_t j = 0; j < kBlock; ++j) {
            const double re = qr[j] * qr[j] - qi[j] * qi[j];
            qi[j] = 2.0 * qr[j] * qi[j];
            qr[j] = re;
        }
        if ((exponent & bit) != 0) {
            for (std::size_t j = 0; j < kBlock; ++j) {
                const double re = qr[j] * sr[j] - qi[j] * si[j];
                qi[j] = qr[j] * si[j] + qi[j] * sr[j];
                qr[j] = re;
            }
        }
    }
}

// G(x_k) for k from first on, kBlock frequencies at a time, in separate real
// and imaginary arrays so that each step is one vectorisable loop. Processors
// with AVX2 run a copy with twice as wide vectors; without FMA, both copies
// round alike and give the same chances.
__attribute__((target_clones("avx2", "default"))) void EvaluateBlock(const Plan& plan,
                                                                     const Workspace& work,
                                                                     std::size_t first, double* gr,
                                                                     double* gi) {
    const int values = static_cast<int>(plan.chance.size());
    alignas(64) double zr[kBlock], zi[kBlock];
    alignas(64) double sr[kBlock] = {}, si[kBlock] = {}, qr[kBlock], qi[kBlock];
    alignas(64) double tr[kBlock] = {}, ti[kBlock] = {}, ar[kBlock] = {}, ai[kBlock] = {};
    std::size_t power[kBlock];  // x_k^m is x_1^(k m mod M)
    std::size_t step[kBlock];
    for (std::size_t j = 0; j < kBlock; ++j) {
        // Lanes past the last frequency evaluate frequency 0, unused.
        step[j] = first + j < plan.frequencies ? first + j : 0;
        power[j] = step[j] * static_cast<std::size_t>(values - 1) % plan.length;
    }
    // The sums count faces rather than add chances: whole numbers keep
    // S_0(1) exactly the number of sides, where adding chances such as 0.01
    // would not give exactly one, and its power would carry n times the error
    // into every chance.
    for (int m = values - 1; m >= 0; --m) {
        // Powers of x_k from a table rather than by repeated multiplication,
        // whose error would grow with every step and then with the n-th power.
        for (std::size_t j = 0; j < kBlock; ++j) {
            zr[j] = work.rootRe[power[j]];
            zi[j] = work.rootIm[power[j]];
            power[j] = power[j] >= step[j] ? power[j] - step[j] : power[j] + plan.length - step[j];
        }
        const double faces = plan.faces[static_cast<std::size_t>(m)];
        for (std::size_t j = 0; j < kBlock; ++j) {
            sr[j] += faces * zr[j];
            si[j] += faces * zi[j];
        }
        if (m < plan.lowestValues) {
            // a += x^-m (S_m^n - S_(m+1)^n), the previous power kept in t.
            RaiseToPower(sr, si, plan.dice, qr, qi);
            for (std::size_t j = 0; j < kBlock; ++j) {
                const double dr = qr[j] - tr[j];
                const double di = qi[j] - ti[j];
                ar[j] += zr[j] * dr + zi[j] * di;
                ai[j] += zr[j] * di - zi[j] * dr;
                tr[j] = qr[j];
                ti[j] = qi[j];
            }
        }
    }
    for (std::size_t j = 0; j < kBlock; ++j) {
        gr[j] = ar[j] * plan.scale;
        gi[j] = ai[j] * plan.scale;
    }
}

}  // namespace

std::vector<double> KeptSumChances(const DieValues& die, int dice, bool dropLowest) {
    const std::size_t values = die.faceCounts.size();
    if (values == 1) {
        return {1.0};
    }
    const Plan plan = MakePlan(die, dice, dropLowest);
    Workspace& work = ThreadWorkspace();
    FillRoots(plan, work);
    const std::size_t blocks = (plan.frequencies + kBlock - 1) / kBlock;
    std::vector<double> gr(blocks * kBlock);
    std::vector<double> gi(blocks * kBlock);
    for (std::size_t b = 0; b < blocks; ++b) {
        EvaluateBlock(plan, work, b * kBlock, &gr[b * kBlock], &gi[b * kBlock]);
    }
    std::vector<Complex> spectrum(plan.frequencies);
    for (std::size_t k = 0; k < plan.frequencies; ++k) {
        spectrum[k] = Complex(gr[k], gi[k]);
    }
    std::vector<double> chances = InverseReal(spectrum, plan.length);
    const int kept = dropLowest ? dice - 1 : dice;
    chances.resize(static_cast<std::size_t>(kept) * (values - 1) + 1);
    return chances;
}

}  // namespace alearo
