#include "settings_byte_model.h"

namespace settings_byte_model {

namespace {

// Die codes 1 to 7, in the order of the die-type buttons; slot 0 is no die.
constexpr int kSidesOfCode[8] = {0, 4, 6, 8, 10, 12, 20, 100};
constexpr int kD6Code = 2;

// Bits 3 to 7 as a signed five-bit number: bits 3 to 6 weigh 1, 2, 4 and 8,
// bit 7 weighs -16.
int DieCode(std::uint8_t byte) {
    int code = 0;
    if (byte & 0x08) {
        code += 1;
    }
    if (byte & 0x10) {
        code += 2;
    }
    if (byte & 0x20) {
        code += 4;
    }
    if (byte & 0x40) {
        code += 8;
    }
    if (byte & 0x80) {
        code -= 16;
    }
    return code;
}

int CodeOfSides(int sides) {
    for (int code = 1; code <= 7; ++code) {
        if (kSidesOfCode[code] == sides) {
            return code;
        }
    }
    return kD6Code;
}

}  // namespace

Decoded Read(std::uint8_t byte) {
    int code = DieCode(byte);
    if (code < 1 || code > 7) {
        code = kD6Code;
    }
    return {(byte & 0x01) != 0, (byte & 0x02) != 0, (byte & 0x04) != 0, kSidesOfCode[code],
            code - 1};
}

std::uint8_t Write(const alearo::RollState& state) {
    int byte = CodeOfSides(state.m_nDieSides) * 8;
    if (state.m_bNoInstantUpdate) {
        byte += 1;
    }
    if (state.m_bNoRollsBelowOne) {
        byte += 2;
    }
    if (state.m_bDropLowest) {
        byte += 4;
    }
    return static_cast<std::uint8_t>(byte);
}

}  // namespace settings_byte_model
