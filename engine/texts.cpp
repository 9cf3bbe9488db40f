// SPDX-License-Identifier: MIT
#include "engine/texts.h"

#include "engine/text_format.h"

namespace alearo {

std::string RollExpression(const RollSpec& spec) {
    const int dice = spec.dice;
    const int sides = spec.sides;
    const int each = spec.eachModifier;
    const int total = spec.totalModifier;
    // A negative modifier brings its own minus sign, so the sign string is
    // empty and a negative total modifier shows two spaces before it.
    const char* eachSign = each >= 0 ? "+" : "";
    const char* totalSign = total >= 0 ? "+" : "";

    std::string line;
    if (each == 0 && total == 0) {
        line = FormatText("%s%d%s%d%s", "(", dice, "d", sides, ")");
    } else if (total == 0) {
        line = FormatText("%s%d%s%d%s%d%s", "(", dice, "d", sides, eachSign, each, ")");
    } else if (each == 0) {
        line = FormatText("%s%d%s%d%s%s%s%d", "(", dice, "d", sides, ") ", totalSign, " ", total);
    } else {
        line = FormatText("%s%d%s%d%s%d%s%s%s%d", "(", dice, "d", sides, eachSign, each, ") ",
                          totalSign, " ", total);
    }
    if (spec.dropsADie()) {
        line += " - lowest roll";
    }
    return line;
}

std::string DescriptionLine(const RollSpec& spec) {
    const bool plain = spec.eachModifier == 0 && spec.totalModifier == 0;
    return (plain ? "Results for " : "") + RollExpression(spec);
}

namespace {

void AppendResultLine(std::string& out, int number, const RollResult& result) {
    AppendFormat(out, "%s%3d%s%10d", "Result #", number, ":", result.total);
    if (const std::optional<int> dropped = result.droppedDie()) {
        AppendFormat(out, " %s%d%s", "(", *dropped, " drpd)");
    }
}

}  // namespace

std::string ResultLine(int number, const RollResult& result) {
    std::string line;
    AppendResultLine(line, number, result);
    return line;
}

std::string ResultsText(const std::vector<RollResult>& results) {
    constexpr std::size_t kLongestLine = 40;
    std::string text;
    text.reserve(results.size() * (kLongestLine + 2));
    for (std::size_t k = 0; k < results.size(); ++k) {
        if (k > 0) {
            text += "\r\n";
        }
        AppendResultLine(text, static_cast<int>(k) + 1, results[k]);
    }
    return text;
}

std::string CheckerLine(const Checker& checker, int matches) {
    const char* prefix = nullptr;
    switch (checker.mode) {
        case CheckMode::kAtLeast:
            prefix = "Rolls greater or equal to ";
            break;
        case CheckMode::kAtMost:
            prefix = "Rolls less or equal to ";
            break;
        case CheckMode::kEqual:
            prefix = "Rolls equal to ";
            break;
        case CheckMode::kNone:
            return {};
    }
    return FormatText("%s%d%s%4d", prefix, checker.target, ": ", matches);
}

}  // namespace alearo
