#include "settings/settings_file.h"

#include <filesystem>
#include <fstream>

namespace alearo {

namespace {

namespace fs = std::filesystem;

// Opening for writing would let root overwrite any file, so a file marked
// read-only is recognised by its mode bits, whoever runs the program.
bool IsMarkedReadOnly(const std::string& path) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    constexpr fs::perms kWriteBits =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    return fs::is_regular_file(status) && (status.permissions() & kWriteBits) == fs::perms::none;
}

}  // namespace

bool LoadSettings(RollState& state, const std::string& path) {
    std::ifstream in(path, std::ios::in | std::ios::binary);
    if (!in.is_open()) {
        return false;
    }
    char byte = 0;
    const bool gotByte = static_cast<bool>(in.get(byte));
    // A path that opens but cannot be read, such as a directory, sets the bad
    // bit; an empty file only reaches its end.
    if (in.bad()) {
        return false;
    }
    in.close();
    ApplySettingsByte(state, gotByte ? static_cast<std::uint8_t>(byte) : state.m_bySettings);
    return true;
}

bool SaveSettings(RollState& state, const std::string& path) {
    state.m_bySettings = EncodeSettings(state);
    if (IsMarkedReadOnly(path)) {
        return false;
    }

    std::ofstream out(path, std::ios::out | std::ios::binary | std::ios::trunc);
    if (!out.is_open()) {
        // One more try: a file briefly held by another process may be free now.
        out.open(path, std::ios::out | std::ios::binary | std::ios::trunc);
        if (!out.is_open()) {
            return false;
        }
    }
    out.put(static_cast<char>(state.m_bySettings));
    // The byte only reaches the disk when the stream is flushed at close, so a
    // full disk shows up there.
    out.close();
    return !out.fail();
}

}  // namespace alearo
