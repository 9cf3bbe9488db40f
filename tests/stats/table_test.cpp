// SPDX-License-Identifier: MIT
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "stats/distribution_table.h"
#include "stats/total_distribution.h"

namespace alearo {
namespace {

TEST(PercentTextTest, NeverRoundsAChanceToZeroOrCertainty) {
    EXPECT_EQ(PercentText(0.41234567, 4), "41.2346%");
    EXPECT_EQ(PercentText(3e-7, 4), "< 0.0001%");
    EXPECT_EQ(PercentText(0.9999999, 4), "> 99.9999%");
    EXPECT_EQ(PercentText(0.0, 4) + PercentText(-1e-17, 4) + PercentText(1.0, 4), "0%0%100%");
    EXPECT_EQ(DecimalsToTellApart({0.5, 0.50004, 0.50004, 0.5}, 0, 6), 3);
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
