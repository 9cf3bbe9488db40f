// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace alearo {

// printf-style formatting into a new string.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

// printf-style formatting appended to an existing string, reusing its capacity.
void AppendFormat(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));

}  // namespace alearo
