#include "settings_byte.h"

#include <cstdint>

#include <gtest/gtest.h>

#include "die_types.h"

namespace alearo {
namespace {

// A record whose fields all differ from what any byte below decodes to
// somewhere, so that a field the decoder forgets to set shows.
RollState StateWithD12AndMixedOptions() {
    RollState state;
    SelectDieType(state, 4);
    state.m_bNoInstantUpdate = true;
    state.m_bNoRollsBelowOne = false;
    state.m_bDropLowest = true;
    state.m_bySettings = 0xAA;
    return state;
}

TEST(SettingsByte, DecodesBytesOfTheTable) {
    struct Case {
        std::uint8_t byte;
        bool noInstantUpdate;
        bool noRollsBelowOne;
        bool dropLowest;
        int sides;
        int index;
    };
    const Case cases[] = {
        {0x10, false, false, false, 6, 1},  // d6, no options
        {0x34, false, false, true, 20, 5},  // d20, drop lowest
        {0x3F, true, true, true, 100, 6},   // code 7
        {0x08, false, false, false, 4, 0},  // code 1
        {0x2A, false, true, false, 12, 4},  // code 5
        {0xFF, true, true, true, 6, 1},     // code -1, not 7 as masking would give
        {0x00, false, false, false, 6, 1},  // code 0
        {0x41, true, false, false, 6, 1},   // code 8
        {0x7C, false, false, true, 6, 1},   // code 15, not 7 as masking would give
        {0x88, false, false, false, 6, 1},  // code -15, not 1 as masking would give
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "byte 0x" << std::hex << int{c.byte});
        RollState state = StateWithD12AndMixedOptions();
        ApplySettingsByte(state, c.byte);
        EXPECT_EQ(state.m_bNoInstantUpdate, c.noInstantUpdate);
        EXPECT_EQ(state.m_bNoRollsBelowOne, c.noRollsBelowOne);
        EXPECT_EQ(state.m_bDropLowest, c.dropLowest);
        EXPECT_EQ(state.m_nDieSides, c.sides);
        EXPECT_EQ(state.m_nDieTypeIndex, c.index);
        EXPECT_EQ(state.m_bySettings, c.byte);
    }
}

TEST(SettingsByte, EveryByteDecodesToADieOfTheTable) {
    for (int byte = 0; byte <= 0xFF; ++byte) {
        RollState state = StateWithD12AndMixedOptions();
        ApplySettingsByte(state, static_cast<std::uint8_t>(byte));
        ASSERT_GE(state.m_nDieTypeIndex, 0) << byte;
        ASSERT_LT(state.m_nDieTypeIndex, 7) << byte;
        EXPECT_EQ(state.m_nDieSides, kDieTypes[state.m_nDieTypeIndex].sides) << byte;
        EXPECT_EQ(state.m_bDropLowest, (byte & 4) != 0) << byte;
    }
}

TEST(SettingsByte, EncodesKnownStates) {
    RollState state;
    EXPECT_EQ(EncodeSettings(state), 0x10);

    SelectDieType(state, 5);
    state.m_bDropLowest = true;
    EXPECT_EQ(EncodeSettings(state), 0x34);

    SelectDieType(state, 6);
    state.m_bNoInstantUpdate = true;
    state.m_bNoRollsBelowOne = true;
    EXPECT_EQ(EncodeSettings(state), 0x3F);
}

TEST(SettingsByte, UnknownSidesAreStoredAsD6) {
    for (const int sides : {0, 7, -6, 1000}) {
        RollState state;
        state.m_nDieSides = sides;
        state.m_bNoRollsBelowOne = true;
        EXPECT_EQ(EncodeSettings(state), 0x12) << sides;
    }
}

TEST(SettingsByte, EveryDieAndOptionCombinationRoundTrips) {
    for (int index = 0; index < 7; ++index) {
        for (int options = 0; options < 8; ++options) {
            RollState saved;
            SelectDieType(saved, index);
            saved.m_bNoInstantUpdate = (options & 1) != 0;
            saved.m_bNoRollsBelowOne = (options & 2) != 0;
            saved.m_bDropLowest = (options & 4) != 0;
            const std::uint8_t byte = EncodeSettings(saved);
            EXPECT_EQ(byte & 0xC0, 0) << "bits 6 and 7 must stay clear";

            RollState loaded = StateWithD12AndMixedOptions();
            ApplySettingsByte(loaded, byte);
            EXPECT_EQ(loaded.m_nDieSides, saved.m_nDieSides);
            EXPECT_EQ(loaded.m_nDieTypeIndex, index);
            EXPECT_EQ(loaded.m_bNoInstantUpdate, saved.m_bNoInstantUpdate);
            EXPECT_EQ(loaded.m_bNoRollsBelowOne, saved.m_bNoRollsBelowOne);
            EXPECT_EQ(loaded.m_bDropLowest, saved.m_bDropLowest);
        }
    }
}

}  // namespace
}  // namespace alearo
