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

// The form's two messages hang on the status: a number the field can hold but
// the range refuses must not be mistaken for text that is no number at all.
struct Load {
    const char* text;
    int minimum, maximum;
    NumberLoad status;
    int value;
};

void ExpectLoads(const Load& c) {
    SCOPED_TRACE(testing::Message()
                 << '"' << c.text << "\" in " << c.minimum << " to " << c.maximum);
    const NumberLoadResult result = LoadNumberText(c.text, c.minimum, c.maximum);
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(result.value, c.value);
}

TEST(LoadNumberTextTest, BothEndsOfTheRangeAreInsideAndTheNumbersBeyondAreKept) {
    const Load cases[] = {
        {"1", 1, 100, NumberLoad::kValue, 1},
        {"100", 1, 100, NumberLoad::kValue, 100},
        {"0", 1, 100, NumberLoad::kOutOfRange, 0},
        {"101", 1, 100, NumberLoad::kOutOfRange, 101},
        {"0", 0, 100, NumberLoad::kValue, 0},
        {"-1", 0, 100, NumberLoad::kOutOfRange, -1},
        {"-100", -100, 100, NumberLoad::kValue, -100},
        {"-101", -100, 100, NumberLoad::kOutOfRange, -101},
    };
    for (const Load& c : cases) {
        ExpectLoads(c);
    }
}

TEST(LoadNumberTextTest, OnlyTextBeyondSixteenBitsOrNoNumberAsksForAnInteger) {
    const Load cases[] = {
        {"32767", 1, 100, NumberLoad::kOutOfRange, 32767},
        {"-32768", -100, 100, NumberLoad::kOutOfRange, -32768},
        {"32768", 1, 100, NumberLoad::kNotInteger, 0},
        {"-32769", -100, 100, NumberLoad::kNotInteger, 0},
        {"5x", 0, 100, NumberLoad::kNotInteger, 0},
    };
    for (const Load& c : cases) {
        ExpectLoads(c);
    }
}

}  // namespace
