#pragma once

#include "engine/roll_state.h"

namespace alearo {

// The form of one roll: what decides the chance of each total.
struct RollSpec {
    int dice = 1;
    int sides = 6;
    int eachModifier = 0;
    int totalModifier = 0;
    bool raiseToOne = false;
    bool dropLowest = false;
};

bool operator==(const RollSpec& a, const RollSpec& b);
bool operator!=(const RollSpec& a, const RollSpec& b);

// The limits of the form; the statistics cover every roll inside them.
constexpr int kMaxStatDice = 100;
constexpr int kMaxStatSides = 100;
constexpr int kMaxStatModifier = 100;

// True when the roll lies inside the limits above (any die of 1 to 100 sides).
bool IsComputable(const RollSpec& spec);

// The roll the fields describe; one die drops nothing, whatever the option says.
RollSpec RollSpecOf(const RollState& state);

}  // namespace alearo
