// SPDX-License-Identifier: MIT
// Feeds any bytes to the reading of dice expressions. Reading must never
// crash, and the canonical spelling of whatever it accepts must read back as
// an equal expression.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "dice/parse.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const alearo::dice::ParseResult parsed = alearo::dice::ParseExpression(text);
    if (!parsed.ok()) {
        if (parsed.error.column < 1 || parsed.error.column > static_cast<int>(size) + 1 ||
            parsed.error.message.empty()) {
            std::fprintf(stderr, "error without a column in the text or a message\n");
            std::abort();
        }
        return 0;
    }
    const std::string canonical = alearo::dice::CanonicalText(*parsed.expression);
    const alearo::dice::ParseResult again = alearo::dice::ParseExpression(canonical);
    if (!again.ok() || *again.expression != *parsed.expression) {
        std::fprintf(stderr, "\"%s\" does not read back as the same expression\n",
                     canonical.c_str());
        std::abort();
    }
    return 0;
}
