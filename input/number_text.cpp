// SPDX-License-Identifier: MIT
#include "input/number_text.h"

namespace alearo {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

std::optional<std::int16_t> ParseShortText(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && IsBlank(text[pos])) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    const std::size_t firstDigit = pos;
    // Counted in a wider type and capped, so any number of digits is safe.
    constexpr long kCap = 32768;
    long magnitude = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        magnitude = magnitude * 10 + (text[pos] - '0');
        if (magnitude > kCap) {
            magnitude = kCap + 1;
        }
        ++pos;
    }
    if (pos == firstDigit) {
        return std::nullopt;
    }
    while (pos < text.size() && IsBlank(text[pos])) {
        ++pos;
    }
    if (pos != text.size()) {
        return std::nullopt;
    }
    const long value = negative ? -magnitude : magnitude;
    if (value < -32768 || value > 32767) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(value);
}

NumberLoadResult LoadNumberText(std::string_view text, int minimum, int maximum) {
    const auto value = ParseShortText(text);
    if (!value) {
        return {NumberLoad::kNotInteger, 0};
    }
    const bool inRange = *value >= minimum && *value <= maximum;
    return {inRange ? NumberLoad::kValue : NumberLoad::kOutOfRange, *value};
}

}  // namespace alearo
