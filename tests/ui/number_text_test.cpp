#include "number_text.h"

#include <gtest/gtest.h>

namespace {

TEST(ParseShortTextTest, ReadsSignedDecimalNumbersWithBlanksAround) {
    EXPECT_EQ(ParseShortText("0"), 0);
    EXPECT_EQ(ParseShortText("42"), 42);
    EXPECT_EQ(ParseShortText("-7"), -7);
    EXPECT_EQ(ParseShortText("+7"), 7);
    EXPECT_EQ(ParseShortText("007"), 7);
    EXPECT_EQ(ParseShortText("  15 "), 15);
    EXPECT_EQ(ParseShortText("\t-3\t"), -3);
}

TEST(ParseShortTextTest, KeepsTheSixteenBitLimitsAndRejectsBeyond) {
    EXPECT_EQ(ParseShortText("32767"), 32767);
    EXPECT_EQ(ParseShortText("-32768"), -32768);
    EXPECT_EQ(ParseShortText("000000000000000032767"), 32767);
    EXPECT_FALSE(ParseShortText("32768"));
    EXPECT_FALSE(ParseShortText("-32769"));
    EXPECT_FALSE(ParseShortText("99999999999999999999999999"));
    EXPECT_FALSE(ParseShortText("-99999999999999999999999999"));
}

TEST(ParseShortTextTest, RejectsEverythingThatIsNotOneNumber) {
    for (const char* text : {"", " ", "-", "+", "--1", "+-1", "1-", "1 2", "1.5", "1e3", "0x10",
                             "abc", "12a", "a12", "- 1"}) {
        EXPECT_FALSE(ParseShortText(text)) << '"' << text << '"';
    }
}

}  // namespace
