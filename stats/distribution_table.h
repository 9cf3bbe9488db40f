// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "stats/total_distribution.h"

namespace alearo {

// One line per total under the header "Total, Chance, At least, At most",
// each chance a fraction from 0 to 1 with 12 significant digits and a dot for
// the decimal mark in any locale; chances below 0.0001 take an exponent, as
// in "4.62962962963e-05", which spreadsheets read as well. Lines end in "\n".
//
// With a compared distribution, three more columns "Compared chance,
// Compared at least, Compared at most" follow, and the lines run over the
// totals of both; outside a distribution's totals its chance is 0, at least
// 1 below them and 0 above, at most the other way round.
std::string TabSeparatedTable(const TotalDistribution& distribution,
                              const TotalDistribution* compared = nullptr);

// The same table as comma-separated values, with CRLF line ends.
std::string CsvTable(const TotalDistribution& distribution,
                     const TotalDistribution* compared = nullptr);

// The lowest and highest totals of either distribution.
std::pair<int, int> TotalsOfBoth(const TotalDistribution& distribution,
                                 const TotalDistribution* compared);

// A chance as a percentage with this many decimals, such as "41.2346%". Only
// a chance of exactly 0 or 1 reads "0%" or "100%": one that would round to
// either reads "< 0.0001%" or "> 99.9999%" (for 4 decimals).
std::string PercentText(double chance, int decimals);

// The fewest decimals from `fewest` to `most` for which PercentText tells
// every two neighbouring chances apart (those closer than the computation's
// accuracy count as equal); `most` when none does.
int DecimalsToTellApart(const std::vector<double>& chances, int fewest, int most);

// The decimals a table of these chances shows in percent: as many as tell
// neighbouring chances apart, from 2 to 12.
int TableDecimals(const std::vector<double>& chances);

// A chance as a fraction with 12 significant digits, as the tables give it.
std::string ChanceFraction(double chance);

}  // namespace alearo
