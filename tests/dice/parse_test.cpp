// SPDX-License-Identifier: MIT
#include "dice/parse.h"

#include <string>

#include <gtest/gtest.h>

namespace alearo::dice {
namespace {

TEST(dice_parse, ErrorsNameTheirColumn) {
    const struct {
        const char* text;
        int column;
        const char* fragment;
    } cases[] = {
        {"", 1, "Nothing to roll"},
        {"   ", 1, "Nothing to roll"},
        {"2d6+x", 5, "Unknown letter \"x\""},
        {"2d6 3", 5, "between two terms"},
        {"2d6d8", 4, "between two terms"},
        {"4d6#", 4, "Unexpected \"#\""},
        {"5!", 2, "Only dice"},
        {"2d0", 3, "1 to 1000 faces"},
        {"2d1001", 3, "1 to 1000 faces"},
        {"0d6", 1, "at least one die"},
        {"101d6", 1, "at most 100 in one term"},
        {"1d6+10001", 5, "at most 10000"},
        {"1d6+99999999999999999999", 5, "at most 10000"},
        {"4d6kh10001", 6, "at most 10000"},
        {"d", 2, "number of faces"},
        {"3d1!", 4, "one face would explode"},
        {"4dF!", 4, "Fate die cannot explode"},
        {"1d6r<=6", 4, "matches every face"},
        {"1d6 r>0", 5, "matches every face"},
        {"4dFr<=1", 4, "matches every face"},
        {"4d6k5", 4, "keep 5 of 4"},
        {"4d6kl0", 4, "Keep at least one"},
        {"4d6dh4", 4, "drop 4 of 4"},
        {"4d6dl0", 4, "Drop at least one"},
        {"4d6kh1dl1", 7, "only one keep or drop"},
        {"4d6!!", 5, "only one \"!\""},
        {"4d6r1ro2", 6, "only one reroll"},
        {"4d6min2min3", 8, "only one min"},
        {"4d6>3<2", 6, "only one comparison"},
        {"4d6max2 min3", 9, "min is above the max"},
        {"4d6mix3", 4, "\"min\" and \"max\""},
        {"4d6min", 7, "\"min\" needs a number"},
        {"4d6>=", 6, "needs a number"},
        {"4d6r", 5, "needs a number"},
        {"100d6+100d6+100d6+100d6+100d6+d4", 31, "at most 500 in all"},
        {"50d100!max10000+d2", 17, "at most 500000 faces in all"},
        {"51d100!max10000", 8, "at most 500000 faces in all"},
        {"d1+d2+d3+d4+d5+d6+d7+d8+d9+d10+5+d11", 34, "terms of dice: at most 10"},
        {"2d101!", 6, "at most 100 faces can be kept, dropped or exploded"},
        {"4d1000kh3", 7, "at most 100 faces can be kept"},
        {"1d6+", 5, "term is missing after \"+\""},
        {"1d6 - ", 7, "term is missing after \"-\""},
        {"--1", 2, "term is missing after \"-\""},
        {"*3", 1, "cannot start a term"},
        {"2d6+\xC3\xA9", 5, "term is missing"},
        // A target or an opponent after "vs", which binds loosest.
        {"1d20 vs", 8, "Put a target or a roll after \"vs\""},
        {"1d20 vs  ", 10, "Put a target or a roll after \"vs\""},
        {"1d20+5 vs 15 vs 3", 14, "only one \"vs\""},
        {"1d20 vs 2d6 VS 3", 13, "only one \"vs\""},
        {"1d20 vs >=", 11, "\">=\" needs a number after it, as in 1d20 vs >=15"},
        {"1d20 vs <-", 11, "\"<\" needs a number"},
        {"1d20 vs >15+2", 12, "after the target"},
        {"vs 15", 1, "Put the roll before \"vs\""},
        {"1d20+ vs 15", 7, "term is missing after \"+\""},
        {"1d20 vs 2d6+", 13, "term is missing after \"+\""},
        {"1d20 v 15", 6, "Unknown letter \"v\""},
        {"1d20 vs <=1000001", 11, "target is from -1000000 to 1000000"},
        {"1d20 vs 5 x", 11, "Unknown letter \"x\""},
        {"100d6+100d6+100d6 vs 100d6+100d6+1d6", 34, "at most 500 in all"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const ParseResult result = ParseExpression(c.text);
        ASSERT_FALSE(result.ok());
        EXPECT_EQ(result.error.column, c.column);
        EXPECT_NE(result.error.message.find(c.fragment), std::string::npos) << result.error.message;
    }
}

// Typed forms, the canonical spelling of each and a form typed differently
// that means the same.
TEST(dice_parse, CanonicalSpellingRoundTrips) {
    const struct {
        const char* typed;
        const char* canonical;
        const char* same;
    } cases[] = {
        {"2d20k+5", "2d20kh1+5", " 2D20KH1 + 5 "},
        {" d20 ", "1d20", "1d20"},
        {"4d6 >= 5 dl 1 ! max 5 min 2 ro < 2", "4d6ro<2!min2max5dl1>=5", "4d6ro<2!min2max5dl1>=5"},
        {"3d%r1kl2", "3d100r1kl2", "3D100R=1KL2"},
        {"-4df+0", "-4df+0", "-4dF+0"},
        {"+5-2d6dh1=3", "5-2d6dh1=3", "5-2d6dh1=3"},
        {"10d10>8", "10d10>8", "10d10 > 8"},
        {"2d6r>=5<=3", "2d6r>=5<=3", "2d6r>=5<=3"},
        {"2d6r>5<3", "2d6r>5<3", "2d6 r > 5 < 3"},
        // At the limits: exploding dice kept, and 500 dice of 1000 faces.
        {"2d20!k", "2d20!kh1", "2D20 KH1 !"},
        {"100d100 ! kh50", "100d100!kh50", "100d%!kh50"},
        {"100d1000r<500+100d1000+100d1000+100d1000+100d1000",
         "100d1000r<500+100d1000+100d1000+100d1000+100d1000",
         "100D1000R<500 + 100d1000+100d1000+100d1000+100d1000"},
        // A target is met at least, unless a comparison says otherwise; a
        // side without dice is a target, and a success pool may be either.
        {"1d20+5 VS 15", "1d20+5 vs 15", "1d20+5vs>=15"},
        {"1d20 vs > 15", "1d20 vs >15", "1D20 VS >15"},
        {"1d20 vs<=8", "1d20 vs <=8", "1d20 vs <= 8"},
        {"2d6 vs =12", "2d6 vs =12", "2d6 vs=12"},
        {"1d4-10 vs >= -7", "1d4-10 vs -7", "1d4-10 vs 3-10"},
        {"100d1000 vs 99000", "100d1000 vs 99000", "100D1000VS 99000 "},
        {"1d6 vs - 3", "1d6 vs -3", "1d6 vs 2-5"},
        {"2d6+3 vs 2d6-1d4", "2d6+3 vs 2d6-1d4", "2D6+3VS2d6-1d4"},
        {"10d10>=8 vs 3", "10d10>=8 vs 3", "10d10>=8 vs >=3"},
        {"4d6 vs 4d6>=5", "4d6 vs 4d6>=5", "4d6 vs 4d6 >= 5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        const ParseResult typed = ParseExpression(c.typed);
        ASSERT_TRUE(typed.ok()) << typed.error.message;
        EXPECT_EQ(CanonicalText(*typed.expression), c.canonical);
        const ParseResult again = ParseExpression(CanonicalText(*typed.expression));
        ASSERT_TRUE(again.ok()) << again.error.message;
        EXPECT_EQ(*again.expression, *typed.expression);
        EXPECT_EQ(*ParseExpression(c.same).expression, *typed.expression);
    }
    // Spellings that roll differently are not equal.
    for (const auto& [a, b] : {std::pair{"4d6dl1", "4d6kh3"},
                               {"2d6r1", "2d6ro1"},
                               {"1d6", "-1d6"},
                               {"1d6>3", "1d6<3"},
                               {"1d6+3", "1d6+2"},
                               {"1d6 vs 3", "1d6 vs >3"},
                               {"1d6 vs 3", "1d6 vs 1d6"},
                               {"1d6 vs 1d6", "1d6 vs -1d6"},
                               {"1d6 vs 3", "1d6"}}) {
        EXPECT_NE(*ParseExpression(a).expression, *ParseExpression(b).expression) << a;
    }
}

// What follows a roll on its own: the statistics window's comparison.
TEST(dice_parse, VersusAlone) {
    EXPECT_EQ(VersusText(*ParseVersus(" VS <=8").expression), "<=8");
    EXPECT_EQ(CanonicalText(*ParseVersus("vs 2d6-1").expression), " vs 2d6-1");
    const ParseResult wrong = ParseVersus("2d6");
    EXPECT_EQ(wrong.error.column, 1);
    EXPECT_EQ(ParseVersus("vs").error.column, 3);
}

}  // namespace
}  // namespace alearo::dice
