// SPDX-License-Identifier: MIT
#include "stats/decimal_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <vector>

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

// 10^k for every k a long double reaches, each correctly rounded: a product of
// a value and one of them is within two units of the last place of exact.
long double PowerOfTen(int k) {
    constexpr int kReach = 4950;
    static const std::vector<long double> table = [] {
        std::vector<long double> powers(static_cast<std::size_t>(2 * kReach + 1));
        for (std::size_t at = 0; at < powers.size(); ++at) {
            powers[at] = std::pow(10.0L, static_cast<int>(at) - kReach);
        }
        return powers;
    }();
    const int at = std::clamp(k, -kReach, kReach) + kReach;
    return table[static_cast<std::size_t>(at)];
}

// The round-off of rounding itself, in units of the value: a few units of
// the last place of a long double.
constexpr long double kRoundingError = 4 * std::numeric_limits<long double>::epsilon();

}  // namespace

std::string FixedText(double value, int decimals) {
    return ToChars(value, std::chars_format::fixed, decimals);
}

std::string IntegerText(int value) {
    return ToChars(value);
}

std::optional<RoundedDecimal> RoundSurely(long double value, int significant,
                                          long double relativeError) {
    if (!(value > 0.0L) || significant < 1) {
        return std::nullopt;
    }
    int exponent = static_cast<int>(std::floor(std::log10(value))) - (significant - 1);
    long double scaled = value * PowerOfTen(-exponent);
    // log10 may be a unit off next to a power of ten.
    const long double least = PowerOfTen(significant - 1);
    if (scaled < least) {
        --exponent;
        scaled *= 10.0L;
    } else if (scaled >= 10.0L * least) {
        ++exponent;
        scaled /= 10.0L;
    }
    const long double error = relativeError + kRoundingError;
    if (std::floor(scaled * (1.0L - error) + 0.5L) != std::floor(scaled * (1.0L + error) + 0.5L)) {
        return std::nullopt;
    }
    RoundedDecimal rounded{static_cast<long long>(std::floor(scaled + 0.5L)), exponent};
    if (static_cast<long double>(rounded.digits) >= 10.0L * least) {
        rounded.digits /= 10;
        ++rounded.exponent;
    }
    return rounded;
}

std::string SignificantText(long double value, int significant, long double relativeError) {
    std::optional<RoundedDecimal> rounded;
    while (significant > 1 && !(rounded = RoundSurely(value, significant, relativeError))) {
        --significant;
    }
    if (!rounded) {
        rounded = RoundSurely(value, 1, 0.0L);
        if (!rounded) {
            return "0";
        }
    }
    std::string digits = ToChars(rounded->digits);
    const int sized = static_cast<int>(digits.size());
    // The exponent of the leading digit.
    const int lead = rounded->exponent + sized - 1;
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }
    if (lead < -4 || lead >= significant) {
        std::string text = digits.substr(0, 1);
        if (digits.size() > 1) {
            text += '.' + digits.substr(1);
        }
        const int magnitude = lead < 0 ? -lead : lead;
        return text + (lead < 0 ? "e-" : "e+") + (magnitude < 10 ? "0" : "") + ToChars(magnitude);
    }
    if (lead < 0) {
        const int zeros = -lead - 1;
        return "0." + std::string(static_cast<std::size_t>(zeros), '0') + digits;
    }
    const int wholeDigits = lead + 1;
    const auto whole = static_cast<std::size_t>(wholeDigits);
    if (digits.size() <= whole) {
        return digits + std::string(whole - digits.size(), '0');
    }
    return digits.substr(0, whole) + '.' + digits.substr(whole);
}

std::optional<std::string> SureFixedText(long double value, int decimals,
                                         long double relativeError) {
    const long double error = relativeError + kRoundingError;
    for (; decimals >= 0; --decimals) {
        const long double scaled = value * PowerOfTen(decimals);
        if (!(scaled >= 0.5L)) {
            return std::nullopt;
        }
        if (std::floor(scaled * (1.0L - error) + 0.5L) !=
            std::floor(scaled * (1.0L + error) + 0.5L)) {
            continue;
        }
        std::string digits = ToChars(static_cast<long long>(std::floor(scaled + 0.5L)));
        if (decimals == 0) {
            return digits;
        }
        const auto places = static_cast<std::size_t>(decimals);
        if (digits.size() <= places) {
            digits.insert(0, places + 1 - digits.size(), '0');
        }
        digits.insert(digits.size() - places, 1, '.');
        return digits;
    }
    return std::nullopt;
}

}  // namespace alearo
