// SPDX-License-Identifier: MIT
#include "stats/distribution_table.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

#include "stats/decimal_text.h"

namespace alearo {

namespace {

// The computed chances are good to about 1e-16; a fifteenth digit would
// already show round-off in a chance such as 1/216.
constexpr int kChanceDigits = 12;
constexpr double kSameChance = 1e-12;

std::string Table(const TotalDistribution& distribution, const TotalDistribution* compared,
                  const std::string& separator, const std::string& lineEnd) {
    std::string table =
        "Total" + separator + "Chance" + separator + "At least" + separator + "At most";
    if (compared != nullptr) {
        table += separator + "Compared chance" + separator + "Compared at least" + separator +
                 "Compared at most";
    }
    table += lineEnd;
    const auto [first, last] = TotalsOfBoth(distribution, compared);
    for (int total = first; total <= last; ++total) {
        table += IntegerText(total);
        for (const TotalDistribution* d : {&distribution, compared}) {
            if (d == nullptr) {
                continue;
            }
            for (const double chance : {d->Exactly(total), d->AtLeast(total), d->AtMost(total)}) {
                table += separator + ChanceFraction(chance);
            }
        }
        table += lineEnd;
    }
    return table;
}

}  // namespace

std::pair<int, int> TotalsOfBoth(const TotalDistribution& distribution,
                                 const TotalDistribution* compared) {
    std::pair<int, int> totals{distribution.minTotal, distribution.MaxTotal()};
    if (compared != nullptr && !compared->exactly.empty()) {
        if (distribution.exactly.empty()) {
            return {compared->minTotal, compared->MaxTotal()};
        }
        totals.first = std::min(totals.first, compared->minTotal);
        totals.second = std::max(totals.second, compared->MaxTotal());
    }
    return totals;
}

std::string TabSeparatedTable(const TotalDistribution& distribution,
                              const TotalDistribution* compared) {
    return Table(distribution, compared, "\t", "\n");
}

std::string CsvTable(const TotalDistribution& distribution, const TotalDistribution* compared) {
    return Table(distribution, compared, ",", "\r\n");
}

std::string PercentText(double chance, int decimals) {
    if (!(chance > 0.0)) {
        return "0%";
    }
    if (chance >= 1.0) {
        return "100%";
    }
    const std::string text = FixedText(chance * 100.0, decimals);
    const double step = std::pow(10.0, -decimals);
    if (text == FixedText(0.0, decimals)) {
        return "< " + FixedText(step, decimals) + "%";
    }
    if (text == FixedText(100.0, decimals)) {
        return "> " + FixedText(100.0 - step, decimals) + "%";
    }
    return text + "%";
}

std::string ChanceFraction(double chance) {
    return SignificantText(chance, kChanceDigits);
}

int TableDecimals(const std::vector<double>& chances) {
    constexpr int kFewestDecimals = 2;
    constexpr int kMostDecimals = 12;
    return DecimalsToTellApart(chances, kFewestDecimals, kMostDecimals);
}

int DecimalsToTellApart(const std::vector<double>& chances, int fewest, int most) {
    for (int decimals = fewest; decimals < most; ++decimals) {
        bool apart = true;
        std::string previous;
        for (std::size_t i = 0; i < chances.size() && apart; ++i) {
            std::string text = PercentText(chances[i], decimals);
            apart =
                i == 0 || text != previous || std::abs(chances[i] - chances[i - 1]) <= kSameChance;
            previous = std::move(text);
        }
        if (apart) {
            return decimals;
        }
    }
    return most;
}

}  // namespace alearo
