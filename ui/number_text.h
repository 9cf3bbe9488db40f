#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// Reads the text of a number box as a signed 16-bit number: blanks around it
// are allowed, then an optional sign and at least one decimal digit. Empty
// text, anything else, or a value outside -32768 to 32767 gives no value.
std::optional<std::int16_t> ParseShortText(std::string_view text);
