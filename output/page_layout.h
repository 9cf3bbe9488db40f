#pragma once

#include <array>
#include <string>
#include <vector>

#include "engine/roll_state.h"

namespace alearo {

// One text drawn on the printed page, its top-left corner in logical units
// of 0.1 mm from the top-left of the printable area; y is negative downwards.
struct PageItem {
    int slot;  // 0 for the title
    int x;
    int y;
    std::string text;
};

inline constexpr const char* kPageTitle = "Alearo Results";

// The one printed page: the title first, then row by row the first column
// (slots 1 to 50) and, where there is one, the second (slots 51 to 100).
// Slots above the count (or above kMaxResults) are never placed; a count
// below 1 gives the title alone.
std::vector<PageItem> LayoutResultsPage(const std::array<std::string, kResultSlots>& lines,
                                        int count);

}  // namespace alearo
