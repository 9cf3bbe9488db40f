#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "results_file.h"

namespace alearo {
namespace {

const std::string kSixteenSpaces(16, ' ');

std::string LineOf(int slot) {
    return "line " + std::to_string(slot);
}

// Every slot holds a line, so a slot read beyond the count shows in the text.
RollState StateWithCount(int count) {
    RollState state;
    for (int slot = 1; slot < kResultSlots; ++slot) {
        state.m_pResultLines[slot] = LineOf(slot);
    }
    state.m_nResultCount = static_cast<std::int16_t>(count);
    return state;
}

// The expected file built column by column: slots 1 to 47 down the first
// column, 48 to 94 down the second, the rest listed after the marker.
std::string ExpectedNormalText(int count) {
    std::vector<std::string> rows;
    for (int slot = 1; slot <= count && slot <= 47; ++slot) {
        rows.push_back(LineOf(slot));
    }
    for (int slot = 48; slot <= count && slot <= 94; ++slot) {
        rows[slot - 48] += kSixteenSpaces + LineOf(slot);
    }
    if (count >= 95) {
        rows.push_back("Continued...");
        for (int slot = 95; slot <= count; ++slot) {
            rows.push_back(LineOf(slot));
        }
    }
    std::string text;
    for (const std::string& row : rows) {
        text += row + "\r\n";
    }
    return text;
}

int CountLineEnds(const std::string& text) {
    int count = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos;
         at = text.find("\r\n", at + 2)) {
        ++count;
    }
    return count;
}

TEST(ResultsFormat, NormalFormatPlacesEachSlot) {
    const struct {
        int count;
        int lines;
    } cases[] = {{1, 1}, {10, 10}, {47, 47}, {48, 47}, {49, 47}, {94, 47}, {95, 49}, {100, 54}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.count);
        const std::string text = FormatNormalResults(StateWithCount(c.count));
        EXPECT_EQ(text, ExpectedNormalText(c.count));
        EXPECT_EQ(CountLineEnds(text), c.lines);
    }
}

TEST(ResultsFormat, NormalFormatKeepsLinesByteForByte) {
    RollState state;
    state.m_pResultLines[1] = "Result #  1:        15 (2 drpd)";
    state.m_pResultLines[2] = "Result #  2:         9 (10 drpd)";
    state.m_pResultLines[3] = "stale line of an older roll";
    state.m_nResultCount = 2;
    EXPECT_EQ(FormatNormalResults(state),
              "Result #  1:        15 (2 drpd)\r\n"
              "Result #  2:         9 (10 drpd)\r\n");

    // The second column follows the first line's own width, unpadded.
    state = StateWithCount(48);
    state.m_pResultLines[1] = "Result #  1:        15 (2 drpd)";
    state.m_pResultLines[48] = "Result # 48:        -3 (1 drpd)";
    const std::string text = FormatNormalResults(state);
    EXPECT_EQ(text.substr(0, text.find("\r\n") + 2),
              "Result #  1:        15 (2 drpd)                "
              "Result # 48:        -3 (1 drpd)\r\n");
}

TEST(ResultsFormat, NumbersOnlyHoldsPlainTotals) {
    RollState state;
    state.m_pResultLines[1] = "Result #  1:        -7 (3 drpd)";
    const int totals[] = {-7, 0, 15, 100, -2147483647 - 1, 42};
    for (int slot = 1; slot <= 6; ++slot) {
        state.m_pTotals[slot] = totals[slot - 1];
    }
    state.m_nResultCount = 5;
    EXPECT_EQ(FormatNumbersOnlyResults(state), "-7\r\n0\r\n15\r\n100\r\n-2147483648\r\n");
}

TEST(ResultsFormat, CountOutsideTheTablesIsBounded) {
    for (const int count : {0, -1, -32768}) {
        const RollState state = StateWithCount(count);
        EXPECT_EQ(FormatNormalResults(state), "") << count;
        EXPECT_EQ(FormatNumbersOnlyResults(state), "") << count;
    }
    const RollState tooMany = StateWithCount(150);
    EXPECT_EQ(FormatNormalResults(tooMany), ExpectedNormalText(100));
    EXPECT_EQ(CountLineEnds(FormatNumbersOnlyResults(tooMany)), 100);
}

TEST(ResultsFormat, GuardNeedsSlotOneThenAPositiveCount) {
    RollState state = StateWithCount(1);
    EXPECT_TRUE(HasResults(state));

    state.m_nResultCount = 0;
    EXPECT_FALSE(HasResults(state));
    state.m_nResultCount = -5;
    EXPECT_FALSE(HasResults(state));

    state.m_nResultCount = 5;
    state.m_pResultLines[1].clear();
    EXPECT_FALSE(HasResults(state));
}

}  // namespace
}  // namespace alearo
