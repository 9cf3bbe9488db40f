#pragma once

namespace alearo {

// Texts the user sees in message boxes and the addresses the links open,
// kept together so that the handlers and their tests agree on every byte.
inline constexpr const char* kApplicationName = "Alearo";
inline constexpr const char* kErrorCaption = "Error in Alearo.exe";
inline constexpr const char* kSettingsWriteError = "Error Writing to File: alear.dat";
inline constexpr const char* kResultsWriteError = "Error Writing to File: Results.txt";
inline constexpr const char* kTableWriteError = "Error Writing to File: ";  // and the file's name
inline constexpr const char* kPrintError = "Error while printing. Unable to print.";
inline constexpr const char* kSpoolError = "Error while delivering file. Unable to print.";
inline constexpr const char* kWebsiteError = "Could not open Alearo website.";
inline constexpr const char* kEmailError = "Could not open your email program.";

// Where the links of the Help menu and the About box lead.
inline constexpr const char* kWebsiteUrl = "https://alearo.example.org/updates";
inline constexpr const char* kSupportAddress = "support@alearo.example.org";

}  // namespace alearo
