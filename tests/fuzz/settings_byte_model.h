#pragma once

#include <cstdint>

#include "roll_state.h"

// A second, deliberately plain statement of the settings byte's layout, kept
// apart from the code it checks: the fuzzer compares the two on any byte.
namespace settings_byte_model {

struct Decoded {
    bool noInstantUpdate;
    bool noRollsBelowOne;
    bool dropLowest;
    int dieSides;
    int dieTypeIndex;
};

// What reading the byte sets.
Decoded Read(std::uint8_t byte);

// The byte written for these options and this many sides.
std::uint8_t Write(const alearo::RollState& state);

}  // namespace settings_byte_model
