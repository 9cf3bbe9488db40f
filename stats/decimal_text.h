// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace alearo {

// Numbers as text with a dot for the decimal mark whatever the C locale: the
// program sets the user's locale at start, which would give printf a comma
// in many languages.

// value with exactly `decimals` digits after the dot, correctly rounded.
std::string FixedText(double value, int decimals);

// value to `digits` significant digits, without trailing zeros, switching to
// an exponent ("2.5e-21") for very small or large values.
std::string SignificantText(double value, int digits);

std::string IntegerText(int value);

}  // namespace alearo
