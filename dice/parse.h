// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "dice/expression.h"

namespace alearo::dice {

// Where a typed expression goes wrong: the column (1-based, counted in bytes,
// which is in characters up to the first character outside ASCII, where any
// error is found at the latest) and one sentence for the player.
struct ParseError {
    int column = 0;
    std::string message;
};

struct ParseResult {
    std::optional<Expression> expression;  // set when the text is a valid expression
    ParseError error;                      // otherwise

    bool ok() const { return expression.has_value(); }
};

// Reads dice notation such as "2d20kh1+5", "1d8+3d6+3", "8d6!" or "10d10>=8".
// Spaces may stand around any token and letters may be of either case.
// "vs" at the end binds loosest: "1d20+5 vs 15", "2d6+3 vs 2d6+1".
ParseResult ParseExpression(std::string_view text);

// What follows a roll given elsewhere, "vs 15" or "vs 2d6+1": an expression
// without terms of its own, with its target or opponent.
ParseResult ParseVersus(std::string_view text);

}  // namespace alearo::dice
