#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/summary_lines.h"
#include "stats/checker_chance.h"
#include "stats/distribution_table.h"
#include "stats/goodness_of_fit.h"

namespace alearo {
namespace {

TEST(PercentTextTest, NeverRoundsAChanceToZeroOrCertainty) {
    EXPECT_EQ(PercentText(0.41234567, 4), "41.2346%");
    EXPECT_EQ(PercentText(3e-7, 4), "< 0.0001%");
    EXPECT_EQ(PercentText(0.9999999, 4), "> 99.9999%");
    EXPECT_EQ(PercentText(0.0, 4) + PercentText(-1e-17, 4) + PercentText(1.0, 4), "0%0%100%");
    EXPECT_EQ(DecimalsToTellApart({0.5, 0.50004, 0.50004, 0.5}, 0, 6), 3);
}

TEST(CheckerSentenceTest, GivesTheChanceOfTheTailOnTheSideOfTheCount) {
    const TotalDistribution d20 = ComputeDistribution({1, 20, 0, 0, false, false});
    const struct {
        int mode, target, matches;
        const char* forecast;
        const char* outcome;
    } cases[] = {
        {kCheckAtLeast, 15, 12, "Chance that one roll reaches 15: 30.0%; expected 6.0 of 20 rolls.",
         "12 of 20 rolls reached 15; expected 6.0; 12 or more happens 0.5% of the time."},
        {kCheckAtMost, 3, 20,
         "Chance that one roll stays at or below 3: 15.0%; expected 3.0 of 20 rolls.",
         "20 of 20 rolls stayed at or below 3; expected 3.0; 20 of 20 happens < 0.1% of the time."},
        {kCheckAtMost, 8, 5,
         "Chance that one roll stays at or below 8: 40.0%; expected 8.0 of 20 rolls.",
         "5 of 20 rolls stayed at or below 8; expected 8.0; 5 or fewer happens 12.6% of the time."},
        {kCheckEqual, 7, 0,
         "Chance that one roll comes out exactly 7: 5.0%; expected 1.0 of 20 rolls.",
         "0 of 20 rolls came out exactly 7; expected 1.0; 0 of 20 happens 35.8% of the time."},
        {kCheckNone, 7, 3, "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CheckerForecast(d20, c.mode, c.target, 20), c.forecast);
        EXPECT_EQ(CheckerOutcome(d20, c.mode, c.target, 20, c.matches), c.outcome);
    }
}

TEST(FitTest, GroupsFromTheLowEndAndMergesAShortLastGroup) {
    // 40 rolls of 2d6 form the groups 2-4, 5-6, 7, 8 and 9-12: the last four
    // totals expect under 5 and join the group before.
    const TotalDistribution two = ComputeDistribution({2, 6, 0, 0, false, false});
    const std::vector<int> totals = {2, 3, 3, 4, 4, 4,  5,  5,  5,  5,  5,  6, 6, 6,
                                     6, 6, 6, 7, 7, 7,  7,  7,  7,  7,  8,  8, 8, 8,
                                     8, 9, 9, 9, 9, 10, 10, 10, 11, 11, 12, 12};
    EXPECT_EQ(FitSentence(TestFit(two, totals)),
              "The totals fit the chances of this roll (chi-square 0.24, 4 degrees of freedom, "
              "p = 0.99).");
    EXPECT_EQ(FitSentence(TestFit(two, std::vector<int>(40, 12))),
              "The totals differ from the chances of this roll more than luck usually explains "
              "(chi-square 104.00, 4 degrees of freedom, p < 0.001).");
    const TotalDistribution twoD4 = ComputeDistribution({2, 4, 0, 0, false, false});
    EXPECT_EQ(FitSentence(TestFit(twoD4, std::vector<int>(13, 5))),
              "Too few rolls to test fairness: at least 14 are needed.");
    EXPECT_EQ(FitSentence(TestFit(twoD4, {5, 1, 9})),
              "2 totals cannot come from this roll, so these totals were not rolled with it.");
    EXPECT_EQ(FitSentence(TestFit(ComputeDistribution({3, 6, -9, 0, true, false}), {3})),
              "Every roll of this kind gives the same total, so there is nothing to test.");
}

TEST(TableTest, WritesEveryTotalWithDotDecimals) {
    EXPECT_EQ(TabSeparatedTable(ComputeDistribution({1, 4, 0, 0, false, false})),
              "Total\tChance\tAt least\tAt most\n1\t0.25\t1\t0.25\n2\t0.25\t0.75\t0.5\n"
              "3\t0.25\t0.5\t0.75\n4\t0.25\t0.25\t1\n");
    const std::string csv = CsvTable(ComputeDistribution({3, 6, 0, 0, false, false}));
    EXPECT_EQ(csv.substr(0, csv.find("\r\n4,")),
              "Total,Chance,At least,At most\r\n3,0.00462962962963,1,0.00462962962963");
}

}  // namespace
}  // namespace alearo
