// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <system_error>
#include <vector>

#include "engine/roll.h"

namespace alearo {

inline constexpr const char* kResultsFileName = "Results.txt";

enum class ResultsFormat {
    kNormal,       // the result lines in two columns, then a continuation list
    kNumbersOnly,  // the totals alone, one per line
};

// The results file's text, CR LF after every line including the last.
//
// Normal: rolls 1 to 47 one per row, roll r + 47 beside roll r after 16
// spaces, and from roll 95 on a "Continued..." line and one line per roll.
// Numbers only: each total in plain decimal.
std::string ResultsFileText(const std::vector<RollResult>& results, ResultsFormat format);

// Replaces the whole results file; on failure the previous file is left as it
// was and the error says why.
[[nodiscard]] std::error_code WriteResultsFile(const std::vector<RollResult>& results,
                                               ResultsFormat format,
                                               const std::string& path = kResultsFileName);

}  // namespace alearo
