// SPDX-License-Identifier: MIT
#include "dice/detail/count_law.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cmath>
#include <cstddef>
#include <numeric>
#include <utility>

#include "dice/detail/spectral.h"

// The values that meet a comparison lie in one run, so in the order of
// keeping a die falls in one of three groups: before the run, in it, or
// after it. With n1 dice before and n2 in it, the kept dice that succeed are
// min(n2, max(0, k - n1)): the chance of each count adds up the multinomial
// chances of the group sizes, each term a positive product: inclusion of
// the multinomial law of three cells (Feller, "An Introduction to
// Probability Theory", vol. 1, 1968, VI.9), no subtraction to cancel digits.

namespace alearo::dice {

namespace {

// The chance of a die in each group, in the order of keeping.
std::array<Chance, 3> GroupChances(const DiceTerm& dice, const DieLaw& law) {
    const Condition& condition = *dice.success;
    std::vector<std::pair<bool, Chance>> order;
    for (std::size_t i = 0; i < law.chance.size(); ++i) {
        order.push_back({Matches(condition, law.lowest + static_cast<int>(i)), law.chance[i]});
    }
    order.push_back({Matches(condition, law.highest() + 1), law.beyond});
    if (KeepsHighest(dice)) {
        std::reverse(order.begin(), order.end());
    }
    std::array<Chance, 3> groups{0.0L, 0.0L, 0.0L};
    bool seenMatch = false;
    for (const auto& [match, chance] : order) {
        if (chance > 0.0L) {
            groups[match ? 1 : (seenMatch ? 2 : 0)] += chance;
            seenMatch = seenMatch || match;
        }
    }
    return groups;
}

// C(n, c) p^c q^(n - c) for c from 0 to n: the count of successes when every
// die counts. From the most likely count, at least 1 / (n + 1), outwards by
// the ratio of neighbours, each a few roundings, so that no term loses its
// digits and none needs a logarithm.
std::vector<Chance> BinomialChances(int n, Chance p, Chance q) {
    const auto size = static_cast<std::size_t>(n) + 1;
    std::vector<Chance> chance(size, 0.0L);
    const int mode = std::clamp(static_cast<int>(static_cast<Chance>(n + 1) * p / (p + q)), 0, n);
    Chance ways = 1.0L;
    for (int i = 0; i < mode; ++i) {
        ways = ways * static_cast<Chance>(n - i) / static_cast<Chance>(i + 1);
    }
    const auto at = static_cast<std::size_t>(mode);
    chance[at] = ways * Power(p, mode) * Power(q, n - mode);
    const Chance up = p / q;
    for (std::size_t c = at; c + 1 < size; ++c) {
        chance[c + 1] = chance[c] * up * static_cast<Chance>(n - static_cast<int>(c)) /
                        static_cast<Chance>(c + 1);
    }
    const Chance down = q / p;
    for (std::size_t c = at; c > 0; --c) {
        chance[c - 1] = chance[c] * down * static_cast<Chance>(c) /
                        static_cast<Chance>(n - static_cast<int>(c) + 1);
    }
    return chance;
}

// The counts of kept successes, over every size of the three groups.
std::vector<Chance> KeptCountChances(int n, int k, const std::array<Chance, 3>& groups) {
    std::vector<Chance> logFactorial(static_cast<std::size_t>(n) + 1, 0.0L);
    for (int i = 2; i <= n; ++i) {
        logFactorial[static_cast<std::size_t>(i)] =
            logFactorial[static_cast<std::size_t>(i - 1)] + std::log(static_cast<Chance>(i));
    }
    std::array<Chance, 3> logGroup{0.0L, 0.0L, 0.0L};
    for (std::size_t group = 0; group < 3; ++group) {
        logGroup[group] = groups[group] > 0.0L ? std::log(groups[group]) : 0.0L;
    }
    const auto logTerm = [&](std::size_t group, int times) -> Chance {
        return times == 0 ? 0.0L
                          : times * logGroup[group] - logFactorial[static_cast<std::size_t>(times)];
    };
    std::vector<Chance> chance(static_cast<std::size_t>(k) + 1, 0.0L);
    for (int n1 = 0; n1 <= n; ++n1) {
        for (int n2 = 0; n1 + n2 <= n; ++n2) {
            const int n3 = n - n1 - n2;
            if ((n1 > 0 && !(groups[0] > 0.0L)) || (n2 > 0 && !(groups[1] > 0.0L)) ||
                (n3 > 0 && !(groups[2] > 0.0L))) {
                continue;
            }
            const Chance logChance = logFactorial[static_cast<std::size_t>(n)] + logTerm(0, n1) +
                                     logTerm(1, n2) + logTerm(2, n3);
            chance[static_cast<std::size_t>(std::min(n2, std::max(0, k - n1)))] +=
                std::exp(logChance);
        }
    }
    return chance;
}

}  // namespace

std::vector<Chance> SuccessCountChances(const DiceTerm& dice, const DieLaw& law) {
    const std::array<Chance, 3> groups = GroupChances(dice, law);
    const int n = dice.count;
    const int k = KeptCount(dice);
    const Chance failure = groups[0] + groups[2];
    std::vector<Chance> chance = k == n && groups[1] > 0.0L && failure > 0.0L
                                     ? BinomialChances(n, groups[1], failure)
                                     : KeptCountChances(n, k, groups);
    assert(std::abs(std::accumulate(chance.begin(), chance.end(), 0.0L) - 1.0L) < 1e-12L);
    return chance;
}

}  // namespace alearo::dice
