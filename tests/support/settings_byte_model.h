#pragma once

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <tuple>

#include "settings/settings_byte.h"

// A second, deliberately plain statement of the settings byte's layout, kept
// apart from the code it checks: bits 0, 1 and 2 are the three options, and
// bits 3 to 7 a signed die code (bit 7 weighs -16) where 1 to 7 name d4 to
// d100 and any other code stands for d6.
namespace settings_byte_model {

inline constexpr int kSidesOfCode[] = {0, 4, 6, 8, 10, 12, 20, 100};  // no die has code 0
inline constexpr int kD6Code = 2;

// The options, the byte kept, and the die's sides and index that reading the
// byte sets.
inline auto Read(std::uint8_t byte) {
    int code = (byte >> 3 & 0x0F) - (byte & 0x80 ? 16 : 0);
    code = code >= 1 && code <= 7 ? code : kD6Code;
    return std::make_tuple((byte & 1) != 0, (byte & 2) != 0, (byte & 4) != 0, byte,
                           kSidesOfCode[code], code - 1);
}

// The byte written for these options and this many sides.
inline std::uint8_t Write(const alearo::RollState& s) {
    const int* known = std::find(kSidesOfCode + 1, std::end(kSidesOfCode), s.m_nDieSides);
    const int code = known == std::end(kSidesOfCode) ? kD6Code : int(known - kSidesOfCode);
    return std::uint8_t(code * 8 + s.m_bNoInstantUpdate + 2 * s.m_bNoRollsBelowOne +
                        4 * s.m_bDropLowest);
}

// Whether the program reads the byte into a copy of `earlier` as the model
// does, and writes the byte for both records as the model does.
inline bool ProgramAgrees(std::uint8_t byte, const alearo::RollState& earlier) {
    alearo::RollState read = earlier;
    alearo::ApplySettingsByte(read, byte);
    return std::tie(read.m_bNoInstantUpdate, read.m_bNoRollsBelowOne, read.m_bDropLowest,
                    read.m_bySettings, read.m_nDieSides, read.m_nDieTypeIndex) == Read(byte) &&
           alearo::EncodeSettings(earlier) == Write(earlier) &&
           alearo::EncodeSettings(read) == Write(read);
}

}  // namespace settings_byte_model
