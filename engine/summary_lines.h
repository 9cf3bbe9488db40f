#pragma once

#include <cstdint>
#include <string>

#include "engine/roll_state.h"

namespace alearo {

// The roll description, such as "Results for (3d6)", "(3d6+2) + 5" or
// "(4d6)  -1 - lowest roll".
std::string BuildHeader(const RollState& state);

// Rebuilds m_strHeader from the fields as they stand.
void UpdateHeaderText(RollState& state);

// The checker modes, as radio indexes of the checker group.
enum CheckMode : int {
    kCheckNone = -1,
    kCheckAtLeast = 0,
    kCheckAtMost = 1,
    kCheckEqual = 2,
};

// Counts the stored totals that meet the target in the current mode, stores
// the count in m_nMatchCount and returns it. No mode counts nothing.
std::int16_t CountMatches(RollState& state);

// The checker line for the current mode, such as "Rolls equal to 7:    2";
// empty when no mode is selected. Counting stores m_nMatchCount.
std::string BuildCheckerLine(RollState& state);

// Rebuilds m_strCheckResult for the current mode.
void UpdateCheckerText(RollState& state);

}  // namespace alearo
