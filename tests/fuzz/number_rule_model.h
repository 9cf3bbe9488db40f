#pragma once

#include <optional>
#include <string_view>

#include "number_text.h"

// A second, deliberately plain statement of how a number box is read, kept
// apart from the code it checks: the fuzzer compares the two on any text.
namespace number_rule_model {

// The number the text stands for when it is one that fits in 16 bits signed.
std::optional<int> SixteenBitNumber(std::string_view text);

// What loading the text into a box checked against minimum to maximum gives.
NumberLoadResult Load(std::string_view text, int minimum, int maximum);

}  // namespace number_rule_model
