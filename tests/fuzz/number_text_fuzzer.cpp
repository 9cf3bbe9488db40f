// SPDX-License-Identifier: MIT
// Feeds any bytes to the reading of a number box, as the form would get them
// from its text, and stops at the first answer that differs from the plain
// model of the rule.

#include <cstdio>
#include <cstdlib>

#include "input/number_text.h"
#include "number_rule_model.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    // The ranges of the form's number boxes, and the whole 16-bit range, where
    // only the reading itself can fail.
    for (const auto& [low, high] : {std::pair{0, 100}, {1, 100}, {-100, 100}, {-32768, 32767}}) {
        const alearo::NumberLoadResult got = alearo::LoadNumberText(text, low, high);
        const alearo::NumberLoadResult model = alearo::number_rule_model::Load(text, low, high);
        if (got.status != model.status || got.value != model.value) {
            std::fprintf(stderr, "LoadNumberText in %d to %d differs from the model\n", low, high);
            std::abort();
        }
    }
    return 0;
}
