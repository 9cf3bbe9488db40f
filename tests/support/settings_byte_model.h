// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <tuple>

#include "settings/settings_byte.h"

// A second, deliberately plain statement of the settings byte's layout, kept
// apart from the code it checks: bits 0, 1 and 2 are the three options, and
// bits 3 to 7 a signed die code (bit 7 weighs -16) where 1 to 7 name d4 to
// d100 and any other code stands for d6.
namespace settings_byte_model {

inline constexpr int kD6Code = 2;

// The options and the die's index that reading the byte gives.
inline auto Read(std::uint8_t byte) {
    int code = (byte >> 3 & 0x0F) - (byte & 0x80 ? 16 : 0);
    code = code >= 1 && code <= 7 ? code : kD6Code;
    return std::make_tuple((byte & 1) != 0, (byte & 2) != 0, (byte & 4) != 0, code - 1);
}

// The byte written for these settings; a die outside the seven is d6.
inline std::uint8_t Write(const alearo::Settings& s) {
    const int code = s.dieIndex >= 0 && s.dieIndex <= 6 ? s.dieIndex + 1 : kD6Code;
    return std::uint8_t(code * 8 + s.options.noInstantUpdate + 2 * s.options.noRollsBelowOne +
                        4 * s.options.dropLowest);
}

// Whether the program reads the byte as the model does, and writes both what
// it read and `other` as the model does.
inline bool ProgramAgrees(std::uint8_t byte, const alearo::Settings& other) {
    const alearo::Settings read = alearo::DecodeSettings(byte);
    return std::make_tuple(read.options.noInstantUpdate, read.options.noRollsBelowOne,
                           read.options.dropLowest, read.dieIndex) == Read(byte) &&
           alearo::EncodeSettings(read) == Write(read) &&
           alearo::EncodeSettings(other) == Write(other);
}

}  // namespace settings_byte_model
