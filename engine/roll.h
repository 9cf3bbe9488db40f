#pragma once

#include <string>

#include "engine/roll_state.h"

namespace alearo {

// The text of one roll: "Result #  1:        15", with " (2 drpd)" appended
// when a die was thrown out.
std::string FormatResultLine(int rollNumber, int total);
std::string FormatResultLine(int rollNumber, int total, int droppedDie);

// Rolls m_nRolls rolls of m_nDice dice into the tables, the result count and
// the results text (lines joined by CR LF, none after the last). The header
// and checker lines are not touched.
//
// A roll count above kMaxResults would overrun the tables: then nothing is
// changed and the result is false. A count below 1 stores no line, empties
// the results text and keeps the count as given, so no reader looks at the
// tables.
bool RollDice(RollState& state);

// Resets the entry fields and forgets the results, keeping the die type, the
// checker mode, the options and the tables' contents.
void ClearEntries(RollState& state);

}  // namespace alearo
