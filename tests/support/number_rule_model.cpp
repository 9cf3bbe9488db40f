// SPDX-License-Identifier: MIT
#include "number_rule_model.h"

#include <algorithm>
#include <string>

namespace alearo::number_rule_model {

NumberLoadResult Load(std::string_view text, int minimum, int maximum) {
    // Blanks (space and tab only) may surround an optional sign and at least
    // one digit. Leading zeros add nothing, and more than five significant
    // digits are beyond 16 bits whatever they are, so any length is judged
    // without arithmetic that could overflow.
    std::string number(text);
    number.erase(0, number.find_first_not_of(" \t"));
    number.erase(number.find_last_not_of(" \t") + 1);
    const bool negative = !number.empty() && number[0] == '-';
    number.erase(0, !number.empty() && (negative || number[0] == '+') ? 1 : 0);
    number.erase(0, std::min(number.find_first_not_of('0'), number.size() - 1));
    const bool digits = !number.empty() && number.size() <= 5 &&
                        number.find_first_not_of("0123456789") == number.npos;
    const int value = !digits ? 99999 : negative ? -std::stoi(number) : std::stoi(number);
    if (value < -32768 || value > 32767) {
        return {NumberLoad::kNotInteger, 0};
    }
    return {minimum <= value && value <= maximum ? NumberLoad::kValue : NumberLoad::kOutOfRange,
            static_cast<std::int16_t>(value)};
}

}  // namespace alearo::number_rule_model
