// SPDX-License-Identifier: MIT
#include "settings/settings_byte.h"

namespace alearo {

namespace {

constexpr int kDieCodeShift = 3;

// Bits 3 to 7 as a signed value (-16 to 15) rather than masked: a byte of
// 0xFF is code -1, not d100.
int DieCodeOf(std::uint8_t byte) {
    const int value = byte >> kDieCodeShift;
    return value >= 16 ? value - 32 : value;
}

}  // namespace

std::uint8_t EncodeSettings(const Settings& settings) {
    int byte = 0;
    if (settings.options.noInstantUpdate) {
        byte |= kNoInstantUpdateBit;
    }
    if (settings.options.noRollsBelowOne) {
        byte |= kNoRollsBelowOneBit;
    }
    if (settings.options.dropLowest) {
        byte |= kDropLowestBit;
    }
    const int index = IsDieIndex(settings.dieIndex) ? settings.dieIndex : kDefaultDieIndex;
    byte |= (index + 1) << kDieCodeShift;
    return static_cast<std::uint8_t>(byte);
}

Settings DecodeSettings(std::uint8_t byte) {
    Settings settings;
    settings.options.noInstantUpdate = (byte & kNoInstantUpdateBit) != 0;
    settings.options.noRollsBelowOne = (byte & kNoRollsBelowOneBit) != 0;
    settings.options.dropLowest = (byte & kDropLowestBit) != 0;
    const int index = DieCodeOf(byte) - 1;
    settings.dieIndex = IsDieIndex(index) ? index : kDefaultDieIndex;
    return settings;
}

}  // namespace alearo
