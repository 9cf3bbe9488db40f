// SPDX-License-Identifier: MIT
// Differential fuzzing of the exact chances: any valid dice expression small
// enough to enumerate, over the whole grammar, against whole-number counts of
// every combination of faces (tests/support/dice_oracle.h); the tilted
// transforms alone against them too, and against the chances as worked out
// when the expression is too large to count. An input that reads as an
// expression is taken as it is (the seeds are such texts); other bytes make
// one. The odds of a roll with "vs" (typed, or made from the bytes left
// over) are held to counts of every pair of totals.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "dice/chances.h"
#include "dice/odds.h"
#include "dice/parse.h"
#include "dice_oracle.h"
#include "random_expression.h"
#include "verdict_oracle.h"

namespace {

using namespace alearo::dice;

[[noreturn]] void Fail(const Expression& expression, const std::string& what) {
    std::fprintf(stderr, "%s: %s\n", CanonicalText(expression).c_str(), what.c_str());
    std::abort();
}

// The chances of the two ways agree to within the errors both claim.
void ExpectAlike(const Expression& expression, const TotalDistribution& a,
                 const TotalDistribution& b) {
    const long double error = a.relativeError + b.relativeError + 1e-18L;
    for (int total = std::max(a.minTotal, b.minTotal);
         total <= std::min(a.maxTotal(), b.maxTotal()); ++total) {
        const long double x = a.chanceOf(total);
        const long double y = b.chanceOf(total);
        if ((x == 0.0L) != (y == 0.0L) || std::abs(x - y) > error * std::max(x, y)) {
            Fail(expression, "the two ways differ at " + std::to_string(total));
        }
    }
}

// A target or an opponent, made from the bytes: no "vs" when they run out.
void AddVersus(Expression& expression, alearo::oracle::ByteSource& bytes) {
    if (bytes.empty()) {
        return;
    }
    if (bytes.below(2) == 0) {
        const ParseResult versus =
            ParseVersus(" vs " + alearo::oracle::RandomExpressionText(bytes));
        if (versus.ok()) {
            expression.opponent = versus.expression->opponent;
            expression.target = versus.expression->target;
        }
        return;
    }
    const Compare compares[] = {Compare::kGreaterOrEqual, Compare::kGreater, Compare::kLessOrEqual,
                                Compare::kLess, Compare::kEqual};
    const Compare compare = compares[bytes.below(5)];
    expression.target = Condition{compare, bytes.below(64) - 8};
}

void CheckOdds(const Expression& expression) {
    if (!expression.versus()) {
        return;
    }
    const std::optional<Odds> odds = ExactOdds(expression);
    const std::optional<alearo::oracle::Verdicts> exact =
        alearo::oracle::CountVerdicts(expression, 20000);
    if (odds && exact) {
        if (const std::optional<std::string> disagreement =
                alearo::oracle::OddsDisagreement(*odds, *exact, kEnoughError)) {
            Fail(expression, "odds, " + *disagreement);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    alearo::oracle::ByteSource bytes(data, size);
    ParseResult parsed =
        ParseExpression(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!parsed.ok()) {
        parsed = ParseExpression(alearo::oracle::RandomExpressionText(bytes));
        if (!parsed.ok()) {
            return 0;
        }
    }
    Expression expression = *parsed.expression;
    if (!expression.versus()) {
        AddVersus(expression, bytes);
    }
    CheckOdds(expression);
    const TotalDistribution fastest =
        ExactChances(expression, std::nullopt, ChanceMethod::kFastest);
    const TotalDistribution transform =
        ExactChances(expression, std::nullopt, ChanceMethod::kTransform);
    const std::optional<alearo::oracle::ExactTotals> exact =
        alearo::oracle::EnumerateTotals(expression, 4, 20000);
    if (!exact) {
        ExpectAlike(expression, fastest, transform);
        return 0;
    }
    for (const auto& [distribution, most] :
         {std::pair{&fastest, 1e-13}, {&transform, alearo::oracle::kAnyClaim}}) {
        if (const std::optional<std::string> disagreement =
                alearo::oracle::Disagreement(*distribution, *exact, most)) {
            Fail(expression, *disagreement);
        }
    }
    return 0;
}
