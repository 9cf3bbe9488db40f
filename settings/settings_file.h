// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <system_error>

namespace alearo {

inline constexpr const char* kSettingsFileName = "alear.dat";

// What reading the settings file gave: an error, or else the byte.
struct SettingsRead {
    std::error_code error;
    std::uint8_t byte = 0;
};

// The first byte of the settings file; an empty file reads as byte 0 with no
// error. A missing file gives no_such_file_or_directory, a folder
// is_a_directory, and any other file that is not a regular one
// invalid_argument, without waiting on a pipe or device; a failing read gives
// the system's reason.
SettingsRead ReadSettingsByte(const std::string& path = kSettingsFileName);

// Makes `byte` the whole settings file through ReplaceFileContents, so the old
// file stays as it was on any failure: a file with no write bit is refused
// even for root, and a symbolic link stays a link to the file replaced.
[[nodiscard]] std::error_code WriteSettingsByte(std::uint8_t byte,
                                                const std::string& path = kSettingsFileName);

}  // namespace alearo
