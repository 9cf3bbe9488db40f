// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "engine/die_type.h"
#include "engine/options.h"

namespace alearo {

// What is kept between runs: the options and the die.
struct Settings {
    Options options;
    int dieIndex = kDefaultDieIndex;  // into kDieTypes
};

// The settings byte: bit 0 "no instant update", bit 1 "no rolls below 1",
// bit 2 "drop lowest", and from bit 3 up the die code, which is the die's
// index in kDieTypes plus one (1 = d4 ... 7 = d100).
inline constexpr std::uint8_t kNoInstantUpdateBit = 0x01;
inline constexpr std::uint8_t kNoRollsBelowOneBit = 0x02;
inline constexpr std::uint8_t kDropLowestBit = 0x04;

// A die outside the table is stored as d6; bits 6 and 7 are always 0.
std::uint8_t EncodeSettings(const Settings& settings);

// Bits 3 to 7 are read as a signed number, since older files may hold
// anything there; any code other than 1 to 7 gives d6.
Settings DecodeSettings(std::uint8_t byte);

}  // namespace alearo
