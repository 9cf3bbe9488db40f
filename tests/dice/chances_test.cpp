// SPDX-License-Identifier: MIT
#include "dice/chances.h"

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dice/parse.h"
#include "dice/roll.h"
#include "stats/goodness_of_fit.h"

namespace alearo::dice {
namespace {

using Chances = std::map<long long, long double>;

// A comparison of its own, so that a fault in the library's cannot hide here.
bool Meets(const Condition& c, int v) {
    const int n = c.value;
    return c.compare == Compare::kEqual         ? v == n
           : c.compare == Compare::kLess        ? v < n
           : c.compare == Compare::kGreater     ? v > n
           : c.compare == Compare::kLessOrEqual ? v <= n
                                                : v >= n;
}

// One die's values by following every sequence of faces as a player rolls
// them: rerolls, then the chain of explosions, then min and max. A sequence
// less likely than 1e-18 is not followed.
Chances DieValues(const DiceTerm& d) {
    Chances values;
    const int low = d.fate ? -1 : 1;
    const int faces = d.fate ? 3 : d.faces;
    std::function<void(int, long double, int)> chain = [&](int face, long double p, int sum) {
        sum += face;
        if (d.explode && face == faces && p > 1e-18L) {
            for (int g = 1; g <= faces; ++g) {
                chain(g, p / faces, sum);
            }
            return;
        }
        values[std::clamp(sum, d.minimum.value_or(-9), d.maximum.value_or(1 << 30))] += p;
    };
    // The sequences that roll again are followed together: whichever face
    // was set aside, what comes next is alike.
    std::function<void(long double, bool)> roll = [&](long double p, bool again) {
        long double rerolled = 0.0L;
        for (int face = low; face < low + faces; ++face) {
            if (again && d.reroll && Meets(d.reroll->condition, face)) {
                rerolled += p / faces;
            } else {
                chain(face, p / faces, 0);
            }
        }
        if (rerolled > 1e-21L) {
            roll(rerolled, !d.reroll->once);
        }
    };
    roll(1.0L, true);
    return values;
}

// A term's score over every combination of die values, grouped by how many
// dice show each value (the number of orders they come in as weight); the
// values are taken in the order of keeping, so the first dice are the kept.
Chances TermScores(const DiceTerm& d) {
    const Chances die = DieValues(d);
    std::vector<std::pair<int, long double>> order(die.begin(), die.end());
    const bool highest =
        d.selection == Selection::kKeepHighest || d.selection == Selection::kDropLowest;
    if (highest) {
        std::reverse(order.begin(), order.end());
    }
    const int n = d.selectionCount;
    const int kept =
        d.selection == Selection::kAll ? d.count
        : d.selection == Selection::kKeepHighest || d.selection == Selection::kKeepLowest
            ? n
            : d.count - n;
    const auto score = [&](int value) { return d.success ? Meets(*d.success, value) : value; };
    int least = 1 << 30;
    int most = -least;
    for (const auto& [value, p] : order) {
        least = std::min(least, score(value));
        most = std::max(most, score(value));
    }
    // ways[left][s]: the chance of the values so far with `left` dice still
    // to come and the kept ones adding up to s above `least` each.
    const auto size = static_cast<std::size_t>(kept * (most - least) + 1);
    std::vector<std::vector<long double>> ways(d.count + 1, std::vector<long double>(size));
    ways[d.count][0] = 1.0L;
    for (const auto& [value, p] : order) {
        std::vector<std::vector<long double>> next(d.count + 1, std::vector<long double>(size));
        for (int left = 0; left <= d.count; ++left) {
            for (std::size_t s = 0; s < size; ++s) {
                long double w = ways[left][s];
                for (std::size_t c = 0, t = s; c <= static_cast<std::size_t>(left) && w > 0; ++c) {
                    next[left - c][t] += w;
                    t += d.count - left + static_cast<int>(c) < kept ? score(value) - least : 0;
                    w *= p * (left - c) / (c + 1);
                }
            }
        }
        ways = std::move(next);
    }
    Chances scores;
    for (std::size_t s = 0; s < size; ++s) {
        if (ways[0][s] > 0) {
            scores[kept * least + static_cast<long long>(s)] = ways[0][s];
        }
    }
    return scores;
}

Chances Exact(const Expression& e) {
    Chances total{{0, 1.0L}};
    for (const Term& term : e.terms) {
        const Chances scores = term.isDice ? TermScores(term.dice) : Chances{{term.number, 1.0L}};
        Chances next;
        for (const auto& [a, p] : total) {
            for (const auto& [b, q] : scores) {
                next[a + (term.negative ? -b : b)] += p * q;
            }
        }
        total = std::move(next);
    }
    return total;
}

Expression Parsed(const std::string& text) {
    const ParseResult parsed = ParseExpression(text);
    EXPECT_TRUE(parsed.Ok()) << text << ": " << parsed.error.message;
    return parsed.expression.value_or(Expression{});
}

TEST(dice_chances, MatchExactSumsOverEveryFaceCombination) {
    for (const char* text :
         {"30d20kh15",  "3d6",         "4d6dl1",      "3d6kl2",   "5d4dh2",  "2d20kh1+5",
          "20d6kh10",   "12d10dl3",    "40d4kl20",    "6d20kh3",  "3d4!",    "2d6!kh1",
          "3d6!kh2",    "4d3!dl1",     "2d2!kl1",     "3d6r1",    "3d6ro<3", "3d4r>=3!",
          "2d6ro6!",    "3d6min2max5", "2d6!max8",    "2d4!min3", "4d6>=5",  "3d6!>=6",
          "5d6kh3>4",   "4d6kl2<=2",   "30d6>=5kh10", "4dF",      "3dFkh2",  "4dF>0",
          "1d4-1d6!+2", "-2d4kl1+10",  "2d10-1d10!",  "7",        "1d1000"}) {
        SCOPED_TRACE(text);
        const Chances exact = Exact(Parsed(text));
        const TotalDistribution d = ExactChances(Parsed(text));
        long double below = 0.0L;
        double sum = 0.0;
        for (const auto& [total, p] : exact) {
            if (total > d.MaxTotal()) {
                break;
            }
            if (total >= d.minTotal) {
                EXPECT_NEAR(d.Exactly(total), p, 1e-12) << total;
                EXPECT_NEAR(d.AtLeast(total), 1.0L - below, 1e-12) << total;
                EXPECT_NEAR(d.AtMost(total), below + p, 1e-12) << total;
                sum += d.Exactly(total);
            }
            below += p;
        }
        EXPECT_NEAR(sum, 1.0, 1e-12);
        // Every listed total can happen exactly when its chance is not 0.
        for (int total = d.minTotal; total <= d.MaxTotal(); ++total) {
            EXPECT_EQ(exact.count(total) > 0, d.Exactly(total) > 0.0) << total;
        }
    }
}

// The ends of an endless table: the last listed total is the last whose
// chance reaches 1e-15, and the totals past it belong to its at-least chance.
TEST(dice_chances, ExplodingTableEndsAtTheLastListedChance) {
    for (const char* text : {"1d6!", "3d4!", "2d6!kh1", "-1d6!+3"}) {
        SCOPED_TRACE(text);
        const Chances exact = Exact(Parsed(text));
        const TotalDistribution d = ExactChances(Parsed(text));
        const bool up = text[0] != '-';
        int last = up ? d.minTotal : d.MaxTotal();
        for (const auto& [total, p] : exact) {
            last = p >= kLeastListedChance && (up ? total > last : total < last) ? total : last;
        }
        EXPECT_EQ(up ? d.MaxTotal() : d.minTotal, last);
        EXPECT_GT(up ? d.AtLeast(last) : d.AtMost(last), d.Exactly(last));
    }
}

// The real roller, from a fixed seed, against the exact chances: a fault in
// how it rolls shows as a fit far worse than luck.
TEST(dice_chances, RollsFitTheExactChances) {
    for (const char* text :
         {"4d6dl1", "3d8kl2+1d4", "4d6r1", "4d6ro1", "3d6!", "2d10!kh1", "3d6ro6!", "2d4!min5",
          "3d6min2max5", "8d6>=5", "6d10kh3>=7", "4dF", "2d6-1d6"}) {
        SCOPED_TRACE(text);
        const Expression e = Parsed(text);
        Generator generator(20261206);
        std::vector<int> totals;
        for (int i = 0; i < 20000; ++i) {
            totals.push_back(i % 2 == 0 ? RollTotal(e, generator) : Roll(e, generator).total);
        }
        const GoodnessOfFit fit = TestFit(ExactChances(e), totals);
        EXPECT_EQ(fit.verdict, FitVerdict::kTested);
        EXPECT_GT(fit.pValue, 1e-4) << fit.chiSquare;
    }
}

}  // namespace
}  // namespace alearo::dice
