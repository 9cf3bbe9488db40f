#include "settings/settings_byte.h"

#include "engine/die_types.h"

namespace alearo {

namespace {

constexpr int kDieCodeShift = 3;

int DieCodeForIndex(int index) {
    return index + 1;
}

// Older files may hold anything in the top bits, so bits 3 to 7 are taken as
// a signed value (-16 to 15) rather than masked: a byte of 0xFF is code -1,
// not d100.
int DieCodeOf(std::uint8_t byte) {
    const int value = byte >> kDieCodeShift;
    return value >= 16 ? value - 32 : value;
}

}  // namespace

std::uint8_t EncodeSettings(const RollState& state) {
    int byte = 0;
    if (state.m_bNoInstantUpdate) {
        byte |= kNoInstantUpdateBit;
    }
    if (state.m_bNoRollsBelowOne) {
        byte |= kNoRollsBelowOneBit;
    }
    if (state.m_bDropLowest) {
        byte |= kDropLowestBit;
    }
    int index = DieIndexForSides(state.m_nDieSides);
    if (index < 0) {
        index = kDefaultDieIndex;
    }
    byte |= DieCodeForIndex(index) << kDieCodeShift;
    return static_cast<std::uint8_t>(byte);
}

void ApplySettingsByte(RollState& state, std::uint8_t byte) {
    state.m_bySettings = byte;
    state.m_bNoInstantUpdate = (byte & kNoInstantUpdateBit) != 0;
    state.m_bNoRollsBelowOne = (byte & kNoRollsBelowOneBit) != 0;
    state.m_bDropLowest = (byte & kDropLowestBit) != 0;

    const int index = DieCodeOf(byte) - 1;
    const bool known = index >= 0 && index < static_cast<int>(kDieTypes.size());
    SelectDieType(state, known ? index : kDefaultDieIndex);
}

}  // namespace alearo
