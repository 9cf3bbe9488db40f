// SPDX-License-Identifier: MIT
#include "stats/decimal_text.h"

#include <charconv>

namespace alearo {

namespace {

// Room for any double in fixed notation with the decimals asked for here.
constexpr int kBufferSize = 400;

template <typename... Format>
std::string ToChars(Format... format) {
    char buffer[kBufferSize];
    const std::to_chars_result result = std::to_chars(buffer, buffer + kBufferSize, format...);
    return std::string(buffer, result.ptr);
}

}  // namespace

std::string FixedText(double value, int decimals) {
    return ToChars(value, std::chars_format::fixed, decimals);
}

std::string SignificantText(double value, int digits) {
    return ToChars(value, std::chars_format::general, digits);
}

std::string IntegerText(int value) {
    return ToChars(value);
}

}  // namespace alearo
