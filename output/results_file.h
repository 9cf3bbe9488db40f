#pragma once

#include <string>

#include "engine/roll_state.h"

namespace alearo {

inline constexpr const char* kResultsFileName = "Results.txt";

// The guard of every output command: slot 1 holds a line, then the count is
// at least 1.
bool HasResults(const RollState& state);

// The results file's text, CR LF after every line including the last. Only
// slots 1 to the count (at most kMaxResults) are read; a count below 1 gives
// an empty text.
//
// Normal: slots 1 to 47 one per row, slot r + 47 beside slot r after 16
// spaces, and from slot 95 on a "Continued..." line and one line per slot.
std::string FormatNormalResults(const RollState& state);
// Numbers only: each total in plain decimal, one per line.
std::string FormatNumbersOnlyResults(const RollState& state);

// Replaces the whole results file with one of the two formats. False on any
// failure, with the previous file left intact; the caller reports it.
bool WriteResults(const RollState& state, bool numbersOnly,
                  const std::string& path = kResultsFileName);

}  // namespace alearo
