// SPDX-License-Identifier: MIT
#include "dice/detail/count_law.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstddef>
#include <numeric>

// The values that meet a comparison lie in one run, so in the order of
// keeping a die falls in one of three groups: before the run, in it, or
// after it. With n1 dice before and n2 in it, the kept dice that succeed are
// min(n2, max(0, k - n1)): the chance of each count adds up the multinomial
// chances of the group sizes, each term a positive product: inclusion of
// the multinomial law of three cells (Feller, "An Introduction to
// Probability Theory", vol. 1, 1968, VI.9), no subtraction to cancel digits.

namespace alearo::dice {

std::vector<Chance> SuccessCountChances(const DiceTerm& dice, const DieLaw& law) {
    const Condition& condition = *dice.success;
    const bool highestFirst = KeepsHighest(dice);
    // The chance of each group, in the order of keeping.
    Chance groups[3] = {0.0L, 0.0L, 0.0L};
    const auto add = [&](bool match, Chance chance, bool seenMatch) {
        groups[match ? 1 : (seenMatch ? 2 : 0)] += chance;
    };
    std::vector<std::pair<bool, Chance>> order;
    for (std::size_t i = 0; i < law.chance.size(); ++i) {
        order.push_back({Matches(condition, law.lowest + static_cast<int>(i)), law.chance[i]});
    }
    order.push_back({Matches(condition, law.highest() + 1), law.beyond});
    if (highestFirst) {
        std::reverse(order.begin(), order.end());
    }
    bool seenMatch = false;
    for (const auto& [match, chance] : order) {
        if (chance > 0.0L) {
            add(match, chance, seenMatch);
            seenMatch = seenMatch || match;
        }
    }
    const int n = dice.count;
    const int k = KeptCount(dice);
    std::vector<Chance> logFactorial(static_cast<std::size_t>(n) + 1, 0.0L);
    for (int i = 2; i <= n; ++i) {
        logFactorial[static_cast<std::size_t>(i)] =
            logFactorial[static_cast<std::size_t>(i - 1)] + std::log(static_cast<Chance>(i));
    }
    const auto logPower = [&](int group, int times) -> Chance {
        return times == 0 ? 0.0L : times * std::log(groups[group]);
    };
    std::vector<Chance> chance(static_cast<std::size_t>(k) + 1, 0.0L);
    for (int n1 = 0; n1 <= n; ++n1) {
        for (int n2 = 0; n1 + n2 <= n; ++n2) {
            const int n3 = n - n1 - n2;
            if ((n1 > 0 && !(groups[0] > 0.0L)) || (n2 > 0 && !(groups[1] > 0.0L)) ||
                (n3 > 0 && !(groups[2] > 0.0L))) {
                continue;
            }
            const Chance logChance = logFactorial[static_cast<std::size_t>(n)] -
                                     logFactorial[static_cast<std::size_t>(n1)] -
                                     logFactorial[static_cast<std::size_t>(n2)] -
                                     logFactorial[static_cast<std::size_t>(n3)] + logPower(0, n1) +
                                     logPower(1, n2) + logPower(2, n3);
            chance[static_cast<std::size_t>(std::min(n2, std::max(0, k - n1)))] +=
                std::exp(logChance);
        }
    }
    assert(std::abs(std::accumulate(chance.begin(), chance.end(), 0.0L) - 1.0L) < 1e-12L);
    return chance;
}

}  // namespace alearo::dice
