// SPDX-License-Identifier: MIT
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "stats/distribution_table.h"
#include "stats/roll_distribution.h"

namespace alearo {
namespace {

// Every digit shown is right for a chance known to within its error: fewer
// digits where the error could tip the last one, never 0 for a chance that is
// not 0, never certainty for one that is not 1.
TEST(ChanceTextTest, ShowsOnlyDigitsThatAreRight) {
    const struct {
        Chance chance;
        int decimals;
        double error;
        const char* percent;
        const char* fraction;
    } cases[] = {
        {0.41234567L, 4, 1e-16, "41.2346%", "0.41234567"},
        {1.0L / 36, 2, 1e-16, "2.78%", "0.0277777777778"},
        {3e-7L, 4, 1e-16, "3e-05%", "3e-07"},
        {1.53064670749e-78L, 2, 1e-16, "1.53e-76%", "1.53064670749e-78"},
        {1e-1500L, 2, 1e-16, "1e-1498%", "1e-1500"},
        {0.9999999L, 4, 1e-16, "> 99.9999%", "0.9999999"},
        {0.1234565L, 4, 1e-9, "12.346%", "0.1234565"},
        {0.1234567890125L, 9, 1e-13, "12.345678901%", "0.12345678901"},
        {0.0L, 4, 1e-16, "0%", "0"},
        {1.0L, 4, 1e-16, "100%", "1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fraction);
        EXPECT_EQ(PercentText(c.chance, c.decimals, c.error), c.percent);
        EXPECT_EQ(ChanceFraction(c.chance, c.error), c.fraction);
    }
    EXPECT_EQ(DecimalsToTellApart({0.5L, 0.50004L, 0.50004L, 0.5L}, 0, 6, 1e-16), 3);
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
