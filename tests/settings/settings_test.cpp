// SPDX-License-Identifier: MIT
#include <sys/stat.h>

#include <filesystem>
#include <system_error>
#include <tuple>

#include <gtest/gtest.h>

#include "settings/settings_file.h"
#include "settings_byte_model.h"
#include "test_files.h"

namespace alearo {

TEST(SettingsByte, EveryByteIsReadAndWrittenBackAsThePlainLayoutSays) {
    for (int byte = 0; byte <= 0xFF; ++byte) {
        // Any options with a die index from before the table to past it.
        const Settings other{{(byte & 1) != 0, (byte & 2) != 0, (byte & 4) != 0}, byte % 9 - 1};
        EXPECT_TRUE(settings_byte_model::ProgramAgrees(std::uint8_t(byte), other)) << byte;
    }
}

using SettingsFile = ScratchFolder;

// Each row puts a file (or nothing) at alear.dat, reads the byte at a path and
// writes 0x2D there; "link" is a symbolic link to alear.dat, "pipe" a FIFO.
TEST_F(SettingsFile, ReadsTheFirstByteAndWritesTheOneByteOrChangesNothing) {
    using std::errc;
    constexpr errc kOk{};
    // the path, the file (none for nullptr) and its mode; the byte read, the
    // error reading and the error writing; alear.dat afterwards
    using Row = std::tuple<const char*, const char*, int, int, errc, errc, const char*>;
    const Row rows[] = {
        {kSettingsFileName, nullptr, 0, 0, errc::no_such_file_or_directory, kOk, "\x2D"},
        {".", nullptr, 0, 0, errc::is_a_directory, errc::is_a_directory, ""},
        {"pipe", nullptr, 0, 0, errc::invalid_argument, errc::invalid_argument, ""},
        {kSettingsFileName, "", 0644, 0, kOk, kOk, "\x2D"},
        {kSettingsFileName, "\x34\x3F", 0644, 0x34, kOk, kOk, "\x2D"},
        {kSettingsFileName, "\x34", 0444, 0x34, kOk, errc::permission_denied, "\x34"},
        {"link", "\x34", 0644, 0x34, kOk, kOk, "\x2D"},
    };
    ASSERT_EQ(::mkfifo("pipe", 0644), 0);  // neither file nor folder, and nothing writes to it
    for (const auto& [path, before, mode, byte, readError, writeError, after] : rows) {
        SCOPED_TRACE(path + testing::PrintToString(before));
        if (before != nullptr) {
            std::ofstream(kSettingsFileName) << before;
            std::filesystem::permissions(kSettingsFileName, std::filesystem::perms(mode));
            std::filesystem::create_symlink(kSettingsFileName, "link");
        }
        const SettingsRead read = ReadSettingsByte(path);
        EXPECT_EQ(read.error.message(), std::make_error_code(readError).message());
        EXPECT_EQ(read.byte, byte);
        EXPECT_EQ(WriteSettingsByte(0x2D, path).message(),
                  std::make_error_code(writeError).message());
        EXPECT_EQ(ReadFile(kSettingsFileName), after);
        EXPECT_EQ(std::filesystem::is_symlink("link"), before != nullptr);
        std::filesystem::remove(kSettingsFileName);
        std::filesystem::remove("link");
    }
}

}  // namespace alearo
