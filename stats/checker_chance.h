#pragma once

#include <optional>
#include <string>

#include "stats/total_distribution.h"

namespace alearo {

// The chance that the total of one roll meets the checker, for the modes of
// CheckMode (engine/summary_lines.h); none when no mode is chosen.
std::optional<double> CheckerChance(const TotalDistribution& distribution, int checkMode,
                                    int target);

// Of `rolls` rolls that each meet the checker with this chance, the chance that
// at least, or at most, `count` of them do.
double ChanceOfAtLeast(int count, int rolls, double chance);
double ChanceOfAtMost(int count, int rolls, double chance);

// Before a Roll, such as "Chance that one roll reaches 15: 41.2%; expected
// 8.2 of 20 rolls." Empty without a mode or without rolls.
std::string CheckerForecast(const TotalDistribution& distribution, int checkMode, int target,
                            int rolls);

// After a Roll in which `matches` of `rolls` met the checker, such as "12 of
// 20 rolls reached 15; expected 8.2; 12 or more happens 4.1% of the time."
// The chance given is that of a count at least as far from the expected one
// on the side where it fell. Empty without a mode or without rolls.
std::string CheckerOutcome(const TotalDistribution& distribution, int checkMode, int target,
                           int rolls, int matches);

}  // namespace alearo
