// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "engine/roll.h"

namespace alearo {

// One text drawn on the printed page, its top-left corner in logical units
// of 0.1 mm from the top-left of the printable area; y is negative downwards.
struct PageItem {
    int number;  // the roll's number; 0 for the title
    int x;
    int y;
    std::string text;
};

inline constexpr const char* kPageTitle = "Alearo Results";

// The one printed page: the title first, then row by row the first column
// (rolls 1 to 50) and, where there is one, the second (rolls 51 to 100).
std::vector<PageItem> LayoutResultsPage(const std::vector<RollResult>& results);

}  // namespace alearo
