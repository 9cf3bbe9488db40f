// SPDX-License-Identifier: MIT
#include "stats/distribution_table.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>
#include <utility>

#include "stats/decimal_text.h"

namespace alearo {

namespace {

constexpr int kChanceDigits = 12;
constexpr int kSmallPercentDigits = 3;

struct Separators {
    explicit Separators(TableFormat format)
        : cell(format == TableFormat::kTabSeparated ? "\t" : ","), line(LineEnd(format)) {}
    std::string cell;
    std::string line;
};

}  // namespace

const char* LineEnd(TableFormat format) {
    return format == TableFormat::kTabSeparated ? "\n" : "\r\n";
}

void WriteOddsTable(const dice::Expression& expression, const dice::Odds& odds, TableFormat format,
                    const TextSink& sink) {
    const Separators separators(format);
    sink("Outcome" + separators.cell + "Chance" + separators.line);
    for (const dice::Verdict verdict : dice::PossibleVerdicts(expression)) {
        sink(dice::VerdictText(verdict) + separators.cell +
             ChanceFraction(odds.chanceOf(verdict), odds.relativeError) + separators.line);
    }
}

std::vector<std::string> OddsPercents(const dice::Expression& expression, const dice::Odds& odds) {
    const std::vector<dice::Verdict> verdicts = dice::PossibleVerdicts(expression);
    std::vector<Chance> chances(verdicts.size());
    std::transform(verdicts.begin(), verdicts.end(), chances.begin(),
                   [&odds](dice::Verdict verdict) { return odds.chanceOf(verdict); });
    const int decimals = TableDecimals(chances, odds.relativeError);
    std::vector<std::string> percents(chances.size());
    std::transform(chances.begin(), chances.end(), percents.begin(), [&](Chance chance) {
        return PercentText(chance, decimals, odds.relativeError);
    });
    return percents;
}

void WriteTable(const TotalDistribution& distribution, const TotalDistribution* compared,
                TableFormat format, const TextSink& sink) {
    const Separators separators(format);
    const std::string& separator = separators.cell;
    const std::string& lineEnd = separators.line;
    std::string line =
        "Total" + separator + "Chance" + separator + "At least" + separator + "At most";
    if (compared != nullptr) {
        line += separator + "Compared chance" + separator + "Compared at least" + separator +
                "Compared at most";
    }
    sink(line + lineEnd);
    const auto [first, last] = TotalsOfBoth(distribution, compared);
    for (int total = first; total <= last && !distribution.empty(); ++total) {
        line = IntegerText(total);
        for (const TotalDistribution* d : {&distribution, compared}) {
            if (d == nullptr) {
                continue;
            }
            for (const Chance chance :
                 {d->chanceOf(total), d->chanceAtLeast(total), d->chanceAtMost(total)}) {
                line += separator;
                if (d->knows(total)) {
                    line += ChanceFraction(chance, d->relativeError);
                }
            }
        }
        sink(line + lineEnd);
    }
}

std::string TabSeparatedTable(const TotalDistribution& distribution,
                              const TotalDistribution* compared) {
    std::string table;
    WriteTable(distribution, compared, TableFormat::kTabSeparated,
               [&table](std::string_view text) { table += text; });
    return table;
}

std::string CsvTable(const TotalDistribution& distribution, const TotalDistribution* compared) {
    std::string table;
    WriteTable(distribution, compared, TableFormat::kCommaSeparated,
               [&table](std::string_view text) { table += text; });
    return table;
}

std::pair<int, int> TotalsOfBoth(const TotalDistribution& distribution,
                                 const TotalDistribution* compared) {
    std::pair<int, int> totals{distribution.minTotal, distribution.maxTotal()};
    if (compared != nullptr && !compared->empty()) {
        if (distribution.empty()) {
            return {compared->minTotal, compared->maxTotal()};
        }
        totals.first = std::min(totals.first, compared->minTotal);
        totals.second = std::max(totals.second, compared->maxTotal());
    }
    return totals;
}

std::string PercentText(Chance chance, int decimals, double relativeError) {
    if (!(chance > 0.0L)) {
        return "0%";
    }
    if (chance >= 1.0L) {
        return "100%";
    }
    const Chance percent = chance * 100.0L;
    const double step = std::pow(10.0, -decimals);
    if (percent >= 100.0L - 0.5L * step) {
        return "> " + FixedText(100.0 - step, decimals) + "%";
    }
    // Below 10^(1 - decimals) the decimals would show a single digit.
    const std::optional<std::string> fixed = percent >= std::pow(10.0L, 1 - decimals)
                                                 ? SureFixedText(percent, decimals, relativeError)
                                                 : std::nullopt;
    if (!fixed) {
        return SignificantText(percent, kSmallPercentDigits, relativeError) + "%";
    }
    return *fixed + "%";
}

std::string ChanceFraction(Chance chance, double relativeError) {
    if (!(chance > 0.0L)) {
        return "0";
    }
    if (chance >= 1.0L) {
        return "1";
    }
    return SignificantText(chance, kChanceDigits, relativeError);
}

int TableDecimals(const std::vector<Chance>& chances, double relativeError) {
    constexpr int kFewestDecimals = 2;
    constexpr int kMostDecimals = 10;
    return DecimalsToTellApart(chances, kFewestDecimals, kMostDecimals, relativeError);
}

// Two chances read apart with d decimals when their percentages, scaled by
// 10^d, round to different whole numbers. Only chances that show with the
// fewest decimals are looked at: in the tails below, neighbours differ in
// their first digits, which an exponent shows.
int DecimalsToTellApart(const std::vector<Chance>& chances, int fewest, int most,
                        double relativeError) {
    int needed = fewest;
    for (std::size_t i = 1; i < chances.size() && needed < most; ++i) {
        const Chance a = chances[i - 1] * 100.0L;
        const Chance b = chances[i] * 100.0L;
        if (std::abs(a - b) <= 2.0L * relativeError * std::max(a, b) ||
            std::max(a, b) < std::pow(10.0L, -fewest)) {
            continue;
        }
        Chance scale = std::pow(10.0L, needed);
        while (needed < most && std::floor(a * scale + 0.5L) == std::floor(b * scale + 0.5L)) {
            ++needed;
            scale *= 10.0L;
        }
    }
    return needed;
}

}  // namespace alearo
