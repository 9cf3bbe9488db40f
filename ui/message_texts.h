#pragma once

// Texts the user sees in message boxes, kept together so that the handlers
// and their tests agree on every byte.
inline constexpr const char* kApplicationName = "Alearo";
inline constexpr const char* kErrorCaption = "Error in Alearo.exe";
inline constexpr const char* kSettingsWriteError = "Error Writing to File: alear.dat";
inline constexpr const char* kResultsWriteError = "Error Writing to File: Results.txt";
