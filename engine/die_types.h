#pragma once

#include <array>

#include "engine/roll_state.h"

namespace alearo {

struct DieType {
    int index;  // position of the radio button in the die-type group
    int sides;
    int controlId;
    const char* label;
};

// The seven dice in the order of their radio buttons.
inline constexpr std::array<DieType, 7> kDieTypes{{
    {0, 4, 1008, "d4"},
    {1, 6, 1009, "d6"},
    {2, 8, 1010, "d8"},
    {3, 10, 1011, "d10"},
    {4, 12, 1012, "d12"},
    {5, 20, 1013, "d20"},
    {6, 100, 1014, "d100"},
}};

constexpr int kDefaultDieIndex = 1;  // d6

// The die-type choice: sets both fields so that they always name the same die.
// An index outside 0 to 6 leaves the record unchanged and returns false.
bool SelectDieType(RollState& state, int index);

// Index of the die with this many sides, or -1 when no die has them.
int DieIndexForSides(int sides);

}  // namespace alearo
