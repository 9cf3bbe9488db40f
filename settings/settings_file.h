#pragma once

#include <string>

#include "engine/roll_state.h"
#include "settings/settings_byte.h"

namespace alearo {

inline constexpr const char* kSettingsFileName = "alear.dat";

// Reads the first byte of the settings file and applies it. A missing or
// unreadable file gives false and changes nothing. An empty file still counts
// as loaded: m_bySettings keeps its value and is applied as it stands.
bool LoadSettings(RollState& state, const std::string& path = kSettingsFileName);

// Stores the byte for the current fields in m_bySettings and writes it as the
// whole file, creating or truncating it. False when the file cannot be
// opened, written or closed, or has no write bit for anyone (even when root
// could write it); the caller reports the error.
bool SaveSettings(RollState& state, const std::string& path = kSettingsFileName);

}  // namespace alearo
