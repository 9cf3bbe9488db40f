// SPDX-License-Identifier: MIT
#pragma once

#include <array>

namespace alearo {

struct DieType {
    int sides;
    const char* label;
};

// The dice a player chooses from, in the order the window lists them.
inline constexpr std::array<DieType, 7> kDieTypes{{
    {4, "d4"},
    {6, "d6"},
    {8, "d8"},
    {10, "d10"},
    {12, "d12"},
    {20, "d20"},
    {100, "d100"},
}};

inline constexpr int kDefaultDieIndex = 1;  // d6

inline constexpr bool IsDieIndex(int index) {
    return index >= 0 && index < static_cast<int>(kDieTypes.size());
}

// The sides of the die at `index`; the default die for an index outside the table.
inline constexpr int SidesOfDie(int index) {
    return kDieTypes[static_cast<std::size_t>(IsDieIndex(index) ? index : kDefaultDieIndex)].sides;
}

}  // namespace alearo
