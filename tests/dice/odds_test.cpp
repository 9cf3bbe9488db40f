// SPDX-License-Identifier: MIT
#include "dice/odds.h"

#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dice/parse.h"
#include "verdict_oracle.h"

namespace alearo::dice {
namespace {

// Targets of every comparison, far into the tails, and opponents of every
// kind against counts of every pair of totals; the rolls whose odds were
// counted by hand keep those counts beside them. The sides differ in law,
// so that a verdict read from the wrong side, a tie counted as a win or a
// target met only above it come out wrong.
TEST(dice_odds, AgreeWithCountsOfEveryPairOfTotals) {
    const struct {
        const char* text;
        long long win, tie, loss, all;  // counted by hand; all 0 when not
    } cases[] = {
        {"1d20+5 vs 15", 11, 0, 9, 20},
        {"1d20+5 vs >15", 10, 0, 10, 20},
        {"2d6+3 vs 2d6+1", 861, 125, 310, 1296},
        {"1d6 vs 1d6-1d4", 110, 14, 20, 144},
        {"1d8 vs 1d6", 27, 6, 15, 48},
        {"1d20 vs 1d20", 190, 20, 190, 400},
        {"1d20 vs <=8", 8, 0, 12, 20},
        {"1d20 vs <8", 7, 0, 13, 20},
        {"3d6 vs =10", 27, 0, 189, 216},
        {"1d6+10 vs 1d6", 1, 0, 0, 1},
        {"1d6 vs 7", 0, 0, 1, 1},
        {"4d6dl1 vs 3d6", 0, 0, 0, 0},
        {"2d20kh1 vs 2d20kl1+3", 0, 0, 0, 0},
        {"6d10>=8 vs 3", 0, 0, 0, 0},
        {"4d6>=5 vs 2d6>=5", 0, 0, 0, 0},
        {"20d20dl1 vs 15d20+40", 0, 0, 0, 0},
        {"100d6 vs 100d6+1", 0, 0, 0, 0},
        {"100d6 vs <=120", 0, 0, 0, 0},
        {"100d100 vs 6500", 0, 0, 0, 0},
        {"100d100kh50 vs 100d100-2d100", 0, 0, 0, 0},
        {"-1d4-5 vs -1d6-1d6", 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const Expression expression = *ParseExpression(c.text).expression;
        const std::optional<oracle::Verdicts> counted = oracle::CountVerdicts(expression, 2000000);
        ASSERT_TRUE(counted);
        if (c.all != 0) {
            EXPECT_EQ(counted->win * c.all, counted->all * c.win);
            EXPECT_EQ(counted->tie * c.all, counted->all * c.tie);
            EXPECT_EQ(counted->loss * c.all, counted->all * c.loss);
        }
        const std::optional<Odds> odds = ExactOdds(expression);
        ASSERT_TRUE(odds);
        const std::optional<std::string> disagreement =
            oracle::OddsDisagreement(*odds, *counted, kEnoughError);
        EXPECT_FALSE(disagreement) << *disagreement;
    }
}

// The chance of each total of n exploding dice of six faces, up to `top`:
// a die shows 6k + r (r from 1 to 5) with chance 6^-(k+1), and n of them by
// adding one die at a time. Every term is positive, so the sums keep their
// digits wherever they stand in the tails.
std::vector<long double> ExplodingD6(int n, int top) {
    std::vector<long double> die(static_cast<std::size_t>(top) + 1, 0.0L);
    for (int total = 1; total <= top; ++total) {
        die[static_cast<std::size_t>(total)] =
            total % 6 == 0 ? 0.0L : std::pow(6.0L, -(total / 6 + 1));
    }
    std::vector<long double> law(static_cast<std::size_t>(top) + 1, 0.0L);
    law[0] = 1.0L;
    for (int d = 0; d < n; ++d) {
        std::vector<long double> next(law.size(), 0.0L);
        for (std::size_t a = 0; a < law.size(); ++a) {
            for (std::size_t b = 1; a + b < law.size(); ++b) {
                next[a + b] += law[a] * die[b];
            }
        }
        law = std::move(next);
    }
    return law;
}

// Sides without end, against those sums and closed forms. Against the same
// exploding die a tie comes once in 7 (5/36 / (1 - 1/36)). Far ahead, the
// loss lies past the other side's listed totals, as the win of 20d6! over
// 20d6!+100 and the tie of 1d2+123 with 2d6! do. Past what the tables list
// the odds are not guessed.
TEST(dice_odds, SidesWithoutEnd) {
    const auto odds = [](const char* text) {
        return *ExactOdds(*ParseExpression(text).expression);
    };
    const auto near = [](long double got, long double want) {
        return std::abs(got / want - 1) < 1e-11L;
    };
    EXPECT_TRUE(near(odds("1d6! vs 1d6!").tie, 1.0L / 7));
    EXPECT_TRUE(near(odds("1d6! vs 1d6!").win, 3.0L / 7));
    // An exploding d6 reaches 6k + r or more with chance 6^-k (7 - r) / 6.
    EXPECT_TRUE(near(odds("1d6!+40 vs 1d6!").loss, 2.4495394865765236e-6L));
    const std::vector<long double> twenty = ExplodingD6(20, 900);
    long double win = 0.0L;
    long double below = 0.0L;  // the chance of the opponent's dice below a - 100
    for (std::size_t a = 101; a < twenty.size(); ++a) {
        below += twenty[a - 101];
        win += twenty[a] * below;
    }
    EXPECT_TRUE(near(odds("20d6! vs 20d6!+100").win, win)) << win;
    const std::vector<long double> two = ExplodingD6(2, 200);
    EXPECT_TRUE(near(odds("1d2+123 vs 2d6!").tie, (two[124] + two[125]) / 2));
    EXPECT_FALSE(ExactOdds(*ParseExpression("1d6! vs 3000").expression));
}

TEST(dice_odds, VerdictOfTheTotals) {
    const Expression target = *ParseExpression("1d20 vs >10").expression;
    const Expression opposed = *ParseExpression("1d20 vs 1d20").expression;
    for (const auto& [expression, total, opponent, verdict] : {std::tuple{&target, 10, 0, "miss"},
                                                               {&target, 11, 0, "hit"},
                                                               {&opposed, 7, 7, "tie"},
                                                               {&opposed, 8, 7, "win"},
                                                               {&opposed, 6, 7, "loss"}}) {
        const Verdict found = VerdictOf(*expression, total, opponent);
        EXPECT_STREQ(VerdictText(found), verdict);
        EXPECT_EQ(VerdictNamed(verdict), found);
    }
}

}  // namespace
}  // namespace alearo::dice
