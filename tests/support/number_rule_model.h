// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

#include "input/number_text.h"

// A second, deliberately plain statement of how a number box is read, kept
// apart from the code it checks: the fuzzer compares the two on any text.
namespace alearo::number_rule_model {

// What loading the text into a box checked against minimum to maximum gives.
NumberLoadResult Load(std::string_view text, int minimum, int maximum);

}  // namespace alearo::number_rule_model
