// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>

// Numbers as text with a dot for the decimal mark whatever the C locale: the
// program sets the user's locale at start, which would give printf a comma
// in many languages.

namespace alearo {

// value with exactly `decimals` digits after the dot, correctly rounded.
std::string FixedText(double value, int decimals);

std::string IntegerText(int value);

// A positive value rounded to `significant` significant digits: digits *
// 10^exponent, digits having exactly that many digits. Nothing when the value
// is known only to within `relativeError` of itself and that much could tip
// the rounding: a digit shown is then not sure to be right.
struct RoundedDecimal {
    long long digits = 0;
    int exponent = 0;
};
std::optional<RoundedDecimal> RoundSurely(long double value, int significant,
                                          long double relativeError);

// A positive value to at most `significant` significant digits, as many as
// are sure to be right, without trailing zeros, with an exponent ("2.5e-21")
// below 1e-4 or from 10^significant up: the way printf's %g writes it.
std::string SignificantText(long double value, int significant, long double relativeError);

// A positive value with `decimals` digits after the dot, or fewer where the
// last ones are not sure to be right; nothing when it would round to 0.
std::optional<std::string> SureFixedText(long double value, int decimals,
                                         long double relativeError);

}  // namespace alearo
