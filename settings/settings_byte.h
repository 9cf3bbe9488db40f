#pragma once

#include <cstdint>

#include "engine/roll_state.h"

namespace alearo {

// The settings byte: bit 0 "no instant update", bit 1 "no rolls below 1",
// bit 2 "drop lowest", and from bit 3 up the die code, which is the die's
// index in kDieTypes plus one (1 = d4 ... 7 = d100).
inline constexpr std::uint8_t kNoInstantUpdateBit = 0x01;
inline constexpr std::uint8_t kNoRollsBelowOneBit = 0x02;
inline constexpr std::uint8_t kDropLowestBit = 0x04;

// The byte for the current options and die. A die with sides outside the
// table is stored as d6; bits 6 and 7 are always 0.
std::uint8_t EncodeSettings(const RollState& state);

// Sets the three options, the die (sides and index together) and
// m_bySettings from a byte. Bits 3 to 7 are read as a signed number; any
// code other than 1 to 7 selects d6.
void ApplySettingsByte(RollState& state, std::uint8_t byte);

}  // namespace alearo
