#include "settings_file.h"

#include <fstream>

namespace alearo {

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
