#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "die_types.h"
#include "scratch_folder.h"
#include "settings_file.h"

namespace alearo {
namespace {

// The fields a settings byte decodes to.
auto Decoded(const RollState& s) {
    return std::make_tuple(s.m_bNoInstantUpdate, s.m_bNoRollsBelowOne, s.m_bDropLowest,
                           s.m_nDieSides, s.m_nDieTypeIndex);
}

// A d12 with two options, held as 0x2D: unlike what most bytes decode to, so
// that a field the decoder forgets to set shows.
RollState HeldD12() {
    RollState state;
    SelectDieType(state, 4);
    state.m_bNoInstantUpdate = state.m_bDropLowest = true;
    state.m_bySettings = 0x2D;
    return state;
}

TEST(SettingsByte, DecodesAndReencodesBytesOfTheTable) {
    const struct {
        std::uint8_t byte;
        bool noInstantUpdate, noRollsBelowOne, dropLowest;
        int sides, index;
        std::uint8_t encoded;
    } cases[] = {
        {0x10, false, false, false, 6, 1, 0x10},  // d6, no options
        {0x34, false, false, true, 20, 5, 0x34},  // d20, drop lowest
        {0x3F, true, true, true, 100, 6, 0x3F},   // code 7
        {0xFF, true, true, true, 6, 1, 0x17},     // code -1, not 7 as masking would give
        {0x00, false, false, false, 6, 1, 0x10},  // code 0
    };
    for (const auto& c : cases) {
        RollState state = HeldD12();
        ApplySettingsByte(state, c.byte);
        EXPECT_EQ(Decoded(state), std::make_tuple(c.noInstantUpdate, c.noRollsBelowOne,
                                                  c.dropLowest, c.sides, c.index));
        EXPECT_EQ(state.m_bySettings, c.byte);
        EXPECT_EQ(EncodeSettings(state), c.encoded);
    }
}

TEST(SettingsByte, EveryByteDecodesToADieOfTheTableAndRoundTrips) {
    for (int byte = 0; byte <= 0xFF; ++byte) {
        RollState state = HeldD12();
        ApplySettingsByte(state, static_cast<std::uint8_t>(byte));
        ASSERT_TRUE(state.m_nDieTypeIndex >= 0 && state.m_nDieTypeIndex < 7) << byte;
        EXPECT_EQ(state.m_nDieSides, kDieTypes[state.m_nDieTypeIndex].sides) << byte;
        // Bytes 0x08 to 0x3F hold every die and option combination once and
        // come back unchanged; no byte comes back with bit 6 or 7 set.
        const std::uint8_t encoded = EncodeSettings(state);
        EXPECT_EQ(encoded, byte >= 0x08 && byte < 0x40 ? byte : encoded & 0x3F) << byte;
        RollState reloaded = HeldD12();
        ApplySettingsByte(reloaded, encoded);
        EXPECT_EQ(Decoded(reloaded), Decoded(state)) << byte;
    }
}

TEST(SettingsByte, UnknownSidesAreStoredAsD6) {
    RollState state;
    state.m_bNoRollsBelowOne = true;
    for (const int sides : {0, 7, -6, 1000}) {
        state.m_nDieSides = sides;
        EXPECT_EQ(EncodeSettings(state), 0x12) << sides;
    }
}

using SettingsFile = ScratchFolder;

TEST_F(SettingsFile, MissingOrUnreadableFileChangesNothing) {
    RollState state = HeldD12();
    EXPECT_FALSE(LoadSettings(state));
    std::filesystem::create_directory(kSettingsFileName);
    EXPECT_FALSE(LoadSettings(state));
    EXPECT_EQ(Decoded(state), Decoded(HeldD12()));
    EXPECT_EQ(state.m_bySettings, 0x2D);
    EXPECT_FALSE(SaveSettings(state)) << "a directory cannot be opened for writing";
}

TEST_F(SettingsFile, LoadsTheFirstByteOrForAnEmptyFileTheByteAlreadyHeld) {
    RollState state = HeldD12();
    state.m_bySettings = 0x3F;
    WriteFile(kSettingsFileName, "");
    EXPECT_TRUE(LoadSettings(state));
    EXPECT_EQ(Decoded(state), std::make_tuple(true, true, true, 100, 6));
    EXPECT_EQ(state.m_bySettings, 0x3F);

    WriteFile(kSettingsFileName, "\x34\x3F");
    EXPECT_TRUE(LoadSettings(state));
    EXPECT_EQ(Decoded(state), std::make_tuple(false, false, true, 20, 5));
    EXPECT_EQ(state.m_bySettings, 0x34);
}

TEST_F(SettingsFile, SaveWritesOneByteOverAnyOldFileOrFailsOnAFullDisk) {
    const auto save = [] {
        RollState state = HeldD12();
        state.m_bySettings = 0;
        return SaveSettings(state) && state.m_bySettings == 0x2D;
    };
    WriteFile(kSettingsFileName, "old settings");
    EXPECT_EQ(RunWithFileSizeLimit(0, save), 1);
    // The same child succeeds once the byte fits, so the failure above is the
    // write's own.
    EXPECT_EQ(RunWithFileSizeLimit(1, save), 0);
    EXPECT_EQ(ReadFile(kSettingsFileName), "\x2D");
}

}  // namespace
}  // namespace alearo
