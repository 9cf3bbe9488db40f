// Feeds any bytes to the reading of a number box, as the form would get them
// from its text, and stops at the first answer that differs from the plain
// model of the rule.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "number_rule_model.h"
#include "number_text.h"

namespace {

struct Range {
    int minimum;
    int maximum;
};

// The ranges of the form's number boxes, and the whole 16-bit range, where
// only the reading itself can fail.
constexpr Range kRanges[] = {{0, 100}, {1, 100}, {-100, 100}, {-32768, 32767}};

std::string Printable(std::string_view text) {
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && c != '\\' && c != '"') {
            out += c;
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            out += escaped;
        }
    }
    return out;
}

const char* StatusName(NumberLoad status) {
    switch (status) {
        case NumberLoad::kValue:
            return "value";
        case NumberLoad::kNotInteger:
            return "not an integer";
        case NumberLoad::kOutOfRange:
            return "out of range";
    }
    return "unknown status";
}

[[noreturn]] void Disagree(std::string_view text, const char* what, const std::string& got,
                           const std::string& expected) {
    std::fprintf(stderr, "\"%s\": %s gave %s, the model %s\n", Printable(text).c_str(), what,
                 got.c_str(), expected.c_str());
    std::abort();
}

std::string Describe(const std::optional<int>& number) {
    return number ? std::to_string(*number) : "no number";
}

std::string Describe(const NumberLoadResult& result) {
    return std::string(StatusName(result.status)) + " " + std::to_string(result.value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const std::optional<std::int16_t> parsed = ParseShortText(text);
    const std::optional<int> got = parsed ? std::optional<int>(*parsed) : std::nullopt;
    const std::optional<int> expected = number_rule_model::SixteenBitNumber(text);
    if (got != expected) {
        Disagree(text, "ParseShortText", Describe(got), Describe(expected));
    }

    for (const Range& range : kRanges) {
        const NumberLoadResult loaded = LoadNumberText(text, range.minimum, range.maximum);
        const NumberLoadResult model = number_rule_model::Load(text, range.minimum, range.maximum);
        if (loaded.status != model.status || loaded.value != model.value) {
            const std::string what = "LoadNumberText in " + std::to_string(range.minimum) + " to " +
                                     std::to_string(range.maximum);
            Disagree(text, what.c_str(), Describe(loaded), Describe(model));
        }
    }
    return 0;
}
