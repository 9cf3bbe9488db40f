// SPDX-License-Identifier: MIT
#include "dice/chances.h"

#include <boost/multiprecision/cpp_int.hpp>
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
    EXPECT_TRUE(parsed.Ok()) << text << ": " << parsed.error.message;
    return parsed.expression.value_or(Expression{});
}

// Every modifier alone and together, the ends of the grammar, and the
// expressions that once read past a buffer or came out wrong, against
// whole-number counts of every combination of faces: as worked out, to all
// but the last few digits, and by the tilted transforms alone, to the error
// they claim (which for laws whose neighbouring chances lie many powers of
// ten apart, as the last here, can be large).
TEST(dice_chances, AgreeWithCountsOfEveryCombination) {
    // clang-format off
    const char* const kExpressions[] = {
        "3d6", "4d6dl1", "3d6kl2", "5d4dh2", "2d20kh1+5", "5d12kh3", "6d8dl3", "3d4!", "2d6!kh1",
        "3d6!kh2", "4d3!dl1", "2d2!kl1", "4d4!kl2", "3d6r1", "3d6ro<3", "3d4r>=3!", "2d6ro6!",
        "3d6min2max5", "2d6!max8", "2d4!min3", "4d6>=5", "3d6!>=6", "5d6kh3>4", "4d6kl2<=2",
        "8d6>=5kh3", "4dF", "3dFkh2", "4dF>0", "1d4-1d6!+2", "-2d4kl1+10", "2d10-1d10!",
        "1d6!-1d6!", "7", "1d1000", "2d20kh1r1", "5d20kh2r>=11min6", "1d2+3d6kh2r>=5min2",
        "3d6kh2r>=5min2+1d2", "1d6r6!", "-1d6r6!+10", "1d6!max8", "4d2kl2min4!ro0", "2d2!kl1>=3",
        "3d2!=1", "3d2!+1"
    };
    // clang-format on
    for (const char* text : kExpressions) {
        SCOPED_TRACE(text);
        const Expression expression = Parsed(text);
        const std::optional<oracle::ExactTotals> exact =
            oracle::EnumerateTotals(expression, 5, 2000000);
        ASSERT_TRUE(exact);
        for (const ChanceMethod method : {ChanceMethod::kFastest, ChanceMethod::kTransform}) {
            const std::optional<std::string> disagreement =
                oracle::Disagreement(ExactChances(expression, std::nullopt, method), *exact,
                                     method == ChanceMethod::kFastest ? 1e-13 : oracle::kAnyClaim);
            EXPECT_FALSE(disagreement) << *disagreement;
        }
    }
}

using Count = boost::multiprecision::cpp_int;

// How many ways n dice of f faces show a sum of s above n, by
// inclusion and exclusion.
Count WaysToAdd(int n, int f, int s) {
    const auto choose = [](int a, int b) {
        Count c = 1;
        for (int i = 0; i < b; ++i) {
            c = c * (a - i) / (i + 1);
        }
        return c;
    };
    Count ways = 0;
    for (int j = 0; j <= n && j * f <= s; ++j) {
        ways += (j % 2 == 0 ? 1 : -1) * choose(n, j) * choose(s - j * f + n - 1, n - 1);
    }
    return ways;
}

// Far in the tails, where a transform of the untilted law shows round-off
// alone: whole-number counts of 100d6 and 100d100, and a chain of
// explosions summed exactly.
TEST(dice_chances, FarTailsKeepEveryDigit) {
    const TotalDistribution d6 = ExactChances(Parsed("100d6"));
    const TotalDistribution d100 = ExactChances(Parsed("100d100"));
    Count above = 0;
    for (int s = 500; s <= 600; ++s) {
        above += WaysToAdd(100, 6, s - 100);
    }
    const Count all = boost::multiprecision::pow(Count(6), 100);
    const struct {
        Chance computed;
        long double exact;
    } cases[] = {
        {d6.AtLeast(500), oracle::Ratio(above, all)},
        {d6.Exactly(600), oracle::Ratio(1, all)},
        {d6.Exactly(350), oracle::Ratio(WaysToAdd(100, 6, 250), all)},
        {d100.Exactly(150),
         oracle::Ratio(WaysToAdd(100, 100, 50), boost::multiprecision::pow(Count(100), 100))},
        // One exploding d6 reaches 300 only with 50 sixes in a row.
        {ExactChances(Parsed("1d6!"), TotalRange{300, 300}).AtLeast(300), std::pow(6.0L, -50.0L)},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(c.computed / c.exact, 1.0L, 1e-14L) << static_cast<double>(c.exact);
    }
    // Certain at the ends, not merely within round-off of it.
    EXPECT_EQ(std::make_tuple(d6.AtLeast(100), d100.AtLeast(100), d100.AtMost(10000)),
              std::make_tuple(1.0L, 1.0L, 1.0L));
}

// Too many dice to count, the tilts (here with a kept term listed first, its
// spectrum then one transform) against the sums alone, total by total.
TEST(dice_chances, TiltsAgreeWithTheSums) {
    for (const char* text : {"2d20kh1+30d100", "4d10dl1-30d100"}) {
        SCOPED_TRACE(text);
        const Expression expression = Parsed(text);
        const TotalDistribution tilted = ExactChances(expression);
        const TotalDistribution sums =
            ExactChances(expression, std::nullopt, ChanceMethod::kDirect);
        ASSERT_EQ(std::make_pair(tilted.minTotal, tilted.MaxTotal()),
                  std::make_pair(sums.minTotal, sums.MaxTotal()));
        ASSERT_GT(tilted.relativeError, sums.relativeError);  // the tilts were taken
        for (int total = sums.minTotal; total <= sums.MaxTotal(); ++total) {
            ASSERT_NEAR(tilted.Exactly(total) / sums.Exactly(total), 1.0L, tilted.relativeError)
                << total;
        }
    }
}

// The ends: a side without end is told by the library, and the table of
// such a side stops at the last chance of at least kLeastListedChance, past
// which the totals go into its at-least chance.
TEST(dice_chances, EndsAndListedTotals) {
    const struct {
        const char* text;
        bool hasLowest, hasHighest;
        int lowest, highest;
    } cases[] = {
        {"1d6r6!", true, true, 1, 5},      {"-1d6r6!+10", true, true, 5, 9},
        {"1d6!max8", true, true, 1, 8},    {"1d6!", true, false, 1, 113},
        {"-1d6!+3", false, true, -110, 2}, {"1d6!-1d6!", false, false, -109, 109},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const TotalDistribution d = ExactChances(Parsed(c.text));
        EXPECT_EQ(std::tie(d.hasLowest, d.hasHighest, d.minTotal),
                  std::tie(c.hasLowest, c.hasHighest, c.lowest));
        EXPECT_EQ(d.MaxTotal(), c.highest);
        if (!c.hasHighest) {
            EXPECT_GE(d.Exactly(d.MaxTotal()), kLeastListedChance);
            EXPECT_GT(d.AtLeast(d.MaxTotal()), d.Exactly(d.MaxTotal()));
            EXPECT_FALSE(d.Knows(d.MaxTotal() + 1));
        }
    }
    // Asked for, a total far past the table is listed with its chance, and
    // one of a chance below kLeastReachableChance is not. An exploding d6 is
    // 6j + r (r from 1 to 5) with the chance 6^-(j+1), and reaches v = 6j +
    // q + 1 (q from 0 to 5) with the chance (6 - q) 6^-(j+1).
    const auto reaches = [](int v) {
        return v <= 1 ? 1.0L : (6 - (v - 1) % 6) * std::pow(6.0L, -((v - 1) / 6 + 1));
    };
    Chance twoReach = reaches(999);
    for (int x = 1; x < 999; ++x) {
        twoReach += x % 6 == 0 ? 0.0L : std::pow(6.0L, -(x / 6 + 1)) * reaches(1000 - x);
    }
    const TotalDistribution far = ExactChances(Parsed("2d6!"), TotalRange{1000, 1000});
    EXPECT_NEAR(far.AtLeast(1000) / twoReach, 1.0L, 1e-14L);
    EXPECT_FALSE(ExactChances(Parsed("1d2!"), TotalRange{5000, 5000}).Knows(5000));
}

}  // namespace
}  // namespace alearo::dice
