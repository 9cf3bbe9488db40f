// SPDX-License-Identifier: MIT
#include "dice/chances.h"

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "dice/parse.h"
#include "dice_oracle.h"

namespace alearo::dice {
namespace {

Expression Parsed(const std::string& text) {
    const ParseResult parsed = ParseExpression(text);
    EXPECT_TRUE(parsed.ok()) << text << ": " << parsed.error.message;
    return parsed.expression.value_or(Expression{});
}

// Every modifier alone and together, the ends of the grammar, the
// expressions that once read past a buffer or came out wrong, and the
// largest terms, every total against whole-number counts: of every
// combination of faces, or for plain dice too many to enumerate, by closed
// forms. As worked out, to all but the last few digits, enough to print 12;
// and by the tilted transforms alone (here also after a kept term, then one
// transform of both), to the error they claim, which for laws whose
// neighbouring chances lie many powers of ten apart, as "3d2!=1", can be
// large. The large terms meet every part of the transforms at full size, far
// into the tails, where a bound on a spectrum or a transform missing one
// entry shows.
TEST(dice_chances, AgreeWithCountsOfEveryCombination) {
    // clang-format off
    const char* const kExpressions[] = {
        "3d6", "4d6dl1", "3d6kl2", "5d4dh2", "2d20kh1+5", "5d12kh3", "6d8dl3", "3d4!", "2d6!kh1",
        "3d6!kh2", "4d3!dl1", "2d2!kl1", "4d4!kl2", "3d6r1", "3d6ro<3", "3d4r>=3!", "2d6ro6!",
        "3d6min2max5", "2d6!max8", "2d4!min3", "4d6>=5", "3d6!>=6", "5d6kh3>4", "4d6kl2<=2",
        "8d6>=5kh3", "4dF", "3dFkh2", "4dF>0", "1d4-1d6!+2", "-2d4kl1+10", "2d10-1d10!",
        "1d6!-1d6!", "7", "1d1000", "2d20kh1r1", "5d20kh2r>=11min6", "1d2+3d6kh2r>=5min2",
        "3d6kh2r>=5min2+1d2", "1d6r6!", "-1d6r6!+10", "1d6!max8", "4d2kl2min4!ro0", "2d2!kl1>=3",
        "3d2!=1", "3d2!+1", "100d100", "100d50", "50d6", "100d6", "100d20kh50", "100d20kl50",
        "100d100kh10", "100d100kl1", "20d20dl1", "2d20kh1+30d100", "4d10dl1-30d100", "5d8kl2",
        "3d10dl1", "50d510"
    };
    // clang-format on
    for (const char* text : kExpressions) {
        SCOPED_TRACE(text);
        const Expression expression = Parsed(text);
        const auto exact = oracle::EnumerateTotals(expression, 5, 2000000);
        ASSERT_TRUE(exact);
        // Where the closed forms stand in for the counts, they agree.
        if (exact->denominator <= 2000000) {
            EXPECT_EQ(oracle::EnumerateTotals(expression, 5, 0).value_or(*exact).weight,
                      exact->weight);
        }
        for (const ChanceMethod method : {ChanceMethod::kFastest, ChanceMethod::kTransform}) {
            const std::optional<std::string> disagreement =
                oracle::Disagreement(ExactChances(expression, std::nullopt, method), *exact,
                                     method == ChanceMethod::kFastest ? 1e-13 : oracle::kAnyClaim);
            EXPECT_FALSE(disagreement) << *disagreement;
        }
    }
}

// The ends: a side without end is told by the library (the ends of the
// others are checked with every total above), and the table of such a side
// stops at the last chance of at least kLeastListedChance, past which the
// totals go into its at-least chance.
TEST(dice_chances, EndsAndListedTotals) {
    const struct {
        const char* text;
        bool hasLowest, hasHighest;
        int lowest, highest;
    } cases[] = {{"1d6!", true, false, 1, 113},
                 {"-1d6!+3", false, true, -110, 2},
                 {"1d6!-1d6!", false, false, -109, 109}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const TotalDistribution d = ExactChances(Parsed(c.text));
        EXPECT_EQ(std::tie(d.hasLowest, d.hasHighest, d.minTotal),
                  std::tie(c.hasLowest, c.hasHighest, c.lowest));
        EXPECT_EQ(d.maxTotal(), c.highest);
        if (!c.hasHighest) {
            EXPECT_GE(d.chanceOf(d.maxTotal()), kLeastListedChance);
            EXPECT_GT(d.chanceAtLeast(d.maxTotal()), d.chanceOf(d.maxTotal()));
            EXPECT_FALSE(d.knows(d.maxTotal() + 1));
        }
    }
    // Asked for, a total far past the table is listed with its chance (one
    // of a chance below kLeastReachableChance is not: see the terminal
    // program's tests).
    const TotalDistribution far = ExactChances(Parsed("2d6!"), TotalRange{300, 300});
    const std::optional<std::string> disagreement =
        oracle::Disagreement(far, *oracle::EnumerateTotals(Parsed("2d6!"), 55, 200000), 1e-13);
    EXPECT_FALSE(disagreement) << *disagreement;
    EXPECT_EQ(far.maxTotal(), 300);
}

// Keeping the highest of dice whose lowest face is rare makes the law leap
// near its lowest totals, where no tilt resolves them: those come from the
// sums alone, and every chance agrees with the sums' to the error claimed.
TEST(dice_chances, TotalsNoTiltResolvesComeFromTheSums) {
    const Expression expression = Parsed("100d20ro1kh50");
    const TotalDistribution fastest = ExactChances(expression);
    const TotalDistribution sums = ExactChances(expression, std::nullopt, ChanceMethod::kDirect);
    ASSERT_EQ(fastest.exactly.size(), sums.exactly.size());
    EXPECT_LE(fastest.relativeError, 1e-14);
    for (std::size_t i = 0; i < sums.exactly.size(); ++i) {
        EXPECT_LE(std::abs(fastest.exactly[i] / sums.exactly[i] - 1.0L),
                  fastest.relativeError + sums.relativeError)
            << "total " << sums.minTotal + static_cast<int>(i);
    }
}

}  // namespace
}  // namespace alearo::dice
