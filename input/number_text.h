// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace alearo {

// Reads the text of a number box as a signed 16-bit number: blanks around it
// are allowed, then an optional sign and at least one decimal digit. Empty
// text, anything else, or a value outside -32768 to 32767 gives no value.
std::optional<std::int16_t> ParseShortText(std::string_view text);

// How the loading of a number box with a range ends.
enum class NumberLoad {
    kValue,       // a 16-bit number inside the range
    kNotInteger,  // no 16-bit number: the form asks for an integer
    kOutOfRange,  // a 16-bit number outside the range: the form names the range
};

struct NumberLoadResult {
    NumberLoad status;
    // The number typed, also when it is out of range, because the field keeps
    // it then; 0 when the text is not an integer.
    std::int16_t value;
};

// The form's rule for a number box checked against minimum to maximum
// (inclusive): first read as ParseShortText does, then the range.
NumberLoadResult LoadNumberText(std::string_view text, int minimum, int maximum);

}  // namespace alearo
