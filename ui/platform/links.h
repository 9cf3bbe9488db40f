// SPDX-License-Identifier: MIT
#pragma once

namespace alearo {

// Where the Help menu's website item and the About box's address lead.
inline constexpr const char* kWebsiteUrl = "https://alearo.example.org/updates";
inline constexpr const char* kSupportAddress = "support@alearo.example.org";

}  // namespace alearo
