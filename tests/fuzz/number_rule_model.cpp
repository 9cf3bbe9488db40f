#include "number_rule_model.h"

#include <algorithm>

namespace number_rule_model {

namespace {

// Only space and tab count as blanks; std::isspace would also take line
// breaks and depends on the locale.
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::optional<int> SixteenBitNumber(std::string_view text) {
    // Blanks may surround the number; once they are cut off, what remains must
    // be an optional sign followed by digits and nothing else.
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || !std::all_of(text.begin(), text.end(), IsDigit)) {
        return std::nullopt;
    }

    // Leading zeros add nothing, and six significant digits or more are
    // beyond 16 bits whatever they are, so any length of text is judged
    // without arithmetic that could overflow.
    const std::size_t firstSignificant = text.find_first_not_of('0');
    const std::string_view significant = firstSignificant == std::string_view::npos
                                             ? std::string_view()
                                             : text.substr(firstSignificant);
    if (significant.size() > 5) {
        return std::nullopt;
    }
    int magnitude = 0;
    for (const char digit : significant) {
        magnitude = magnitude * 10 + (digit - '0');
    }
    const int value = negative ? -magnitude : magnitude;
    if (value < -32768 || value > 32767) {
        return std::nullopt;
    }
    return value;
}

NumberLoadResult Load(std::string_view text, int minimum, int maximum) {
    const std::optional<int> number = SixteenBitNumber(text);
    if (!number) {
        return {NumberLoad::kNotInteger, 0};
    }
    const NumberLoad status =
        minimum <= *number && *number <= maximum ? NumberLoad::kValue : NumberLoad::kOutOfRange;
    return {status, static_cast<std::int16_t>(*number)};
}

}  // namespace number_rule_model
