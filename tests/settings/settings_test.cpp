#include <filesystem>
#include <tuple>

#include <gtest/gtest.h>

#include "settings/settings_file.h"
#include "settings_byte_model.h"
#include "test_files.h"

namespace alearo {

TEST(SettingsByte, EveryByteIsReadAndWrittenBackAsThePlainLayoutSays) {
    RollState allOnD12;  // so that a field the byte fails to set shows
    ApplySettingsByte(allOnD12, 0x2F);
    RollState unknownDie;  // stored as d6
    unknownDie.m_nDieSides = 7;
    for (int byte = 0; byte <= 0xFF; ++byte) {
        EXPECT_TRUE(settings_byte_model::ProgramAgrees(byte, allOnD12)) << byte;
        EXPECT_TRUE(settings_byte_model::ProgramAgrees(byte, unknownDie)) << byte;
    }
}

using SettingsFile = ScratchFolder;

// Each row puts a file (or nothing) at a path, loads it into the fields of 0x2D
// (d12 and two options) held as 0x3F, so that both what the load applies and
// what the save writes show, and saves them there.
TEST_F(SettingsFile, LoadsTheFirstByteAndSavesTheOneByteOrChangesNothing) {
    // the path, the file put there (none for nullptr) and its mode; whether the
    // load succeeds, the byte of the fields and the byte held after it; whether
    // the save succeeds
    const std::tuple<const char*, const char*, int, bool, int, int, bool> rows[] = {
        {kSettingsFileName, nullptr, 0, false, 0x2D, 0x3F, true},
        {".", nullptr, 0, false, 0x2D, 0x3F, false},            // a folder
        {kSettingsFileName, "", 0644, true, 0x3F, 0x3F, true},  // empty: the byte held applies
        {kSettingsFileName, "\x34\x3F", 0644, true, 0x34, 0x34, true},
        {kSettingsFileName, "\x34", 0444, true, 0x34, 0x34, false},  // read-only, even for root
    };
    for (const auto& [path, before, mode, loads, fields, held, saves] : rows) {
        SCOPED_TRACE(testing::PrintToString(before));
        if (before != nullptr) {
            std::ofstream(path) << before;
            std::filesystem::permissions(path, std::filesystem::perms(mode));
        }
        RollState state;
        ApplySettingsByte(state, 0x2D);
        state.m_bySettings = 0x3F;
        const bool loaded = LoadSettings(state, path);
        EXPECT_EQ(std::make_tuple(loaded, EncodeSettings(state), state.m_bySettings),
                  std::make_tuple(loads, fields, held));
        EXPECT_EQ(SaveSettings(state, path), saves);
        EXPECT_EQ(ReadFile(path), saves ? std::string(1, char(fields)) : before ? before : "");
        std::filesystem::remove(kSettingsFileName);
    }
    RollState state;
    EXPECT_FALSE(SaveSettings(state, "/dev/full")) << "a full disk";
}

}  // namespace alearo
