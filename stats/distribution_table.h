// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "dice/odds.h"
#include "stats/roll_distribution.h"

namespace alearo {

using dice::Chance;

// Where the lines of a table go as they are written: a file, a terminal or a
// string.
using TextSink = std::function<void(std::string_view)>;

enum class TableFormat { kTabSeparated, kCommaSeparated };

// How a line of the format ends: "\n" for tabs, "\r\n" for commas.
const char* LineEnd(TableFormat format);

// One line per total under the header "Total, Chance, At least, At most",
// each chance a fraction from 0 to 1 to 12 significant digits, or fewer where
// a 12th digit is not sure to be right, with a dot for the decimal mark in
// any locale; chances below 0.0001 take an exponent, as in
// "4.62962962963e-05", which spreadsheets read as well. Tab-separated lines
// end in "\n", comma-separated ones in "\r\n".
//
// With a compared distribution, three more columns "Compared chance,
// Compared at least, Compared at most" follow, and the lines run over the
// totals of both; outside a distribution's totals its chance is 0, at least
// 1 below them and 0 above, at most the other way round, and past the last
// listed total of a side without end its cells stay empty.
void WriteTable(const TotalDistribution& distribution, const TotalDistribution* compared,
                TableFormat format, const TextSink& sink);
std::string TabSeparatedTable(const TotalDistribution& distribution,
                              const TotalDistribution* compared = nullptr);
std::string CsvTable(const TotalDistribution& distribution,
                     const TotalDistribution* compared = nullptr);

// The odds of a roll against a target or an opponent: one line per verdict
// that `expression` can come to under the header "Outcome, Chance", each
// chance a fraction as above: "hit,0.55".
void WriteOddsTable(const dice::Expression& expression, const dice::Odds& odds, TableFormat format,
                    const TextSink& sink);

// The chance of each verdict that `expression` can come to, in the order of
// PossibleVerdicts, as percentages with as many decimals as tell them apart
// (TableDecimals): "55.00%", "45.00%".
std::vector<std::string> OddsPercents(const dice::Expression& expression, const dice::Odds& odds);

// The lowest and highest listed totals of either distribution.
std::pair<int, int> TotalsOfBoth(const TotalDistribution& distribution,
                                 const TotalDistribution* compared);

// A chance known to within `relativeError` of itself as a percentage with
// this many decimals, such as "41.2346%", or fewer where the last are not
// sure. Only a chance of exactly 0 or 1 reads "0%" or "100%": one too small
// to show two digits with the decimals reads to three significant digits, as
// in "0.0463%" or "4.63e-05%", and one that would round to 100 reads
// "> 99.9999%" (for 4 decimals).
std::string PercentText(Chance chance, int decimals, double relativeError);

// The fewest decimals from `fewest` to `most` for which PercentText tells
// every two neighbouring chances apart (those within the error of each other
// count as equal); `most` when none does.
int DecimalsToTellApart(const std::vector<Chance>& chances, int fewest, int most,
                        double relativeError);

// The decimals a table of these chances shows in percent: as many as tell
// neighbouring chances apart, from 2 to 10, beyond which a chance's digits
// would outrun what it is known to.
int TableDecimals(const std::vector<Chance>& chances, double relativeError);

// A chance as a fraction to 12 significant digits at most, as the tables give it.
std::string ChanceFraction(Chance chance, double relativeError);

}  // namespace alearo
