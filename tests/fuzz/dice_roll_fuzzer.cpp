// SPDX-License-Identifier: MIT
// Fuzzing of the roller over the whole grammar: what must hold of every roll.
// Each die's faces are faces of its die, a reroll set aside a face it
// matches, an explosion's chain runs on the top face, what a die counts as is
// its faces with its min and max; the dice kept are as many as the term
// keeps and none dropped beats one kept; the score and total add up; the
// total is one the exact chances give a chance; and a seed gives the same
// rolls again, with or without a record of each die. An input that reads as
// an expression is taken as it is; other bytes make one, and its first eight
// bytes are the seed.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "dice/chances.h"
#include "dice/parse.h"
#include "dice/roll.h"
#include "random_expression.h"

namespace {

using namespace alearo::dice;

void Require(bool holds, const Expression& expression, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "%s: %s\n", CanonicalText(expression).c_str(), what);
        std::abort();
    }
}

void CheckTerm(const Expression& e, const DiceTerm& dice, const TermRoll& roll) {
    const int low = LowestFace(dice);
    const int top = low + FaceCount(dice) - 1;
    int kept = 0, score = 0;
    int lowestKept = 1 << 30, highestKept = -(1 << 30);
    for (const DieRoll& die : roll.dice) {
        Require(!die.faces.empty(), e, "a die without a face");
        Require(die.rerolled.size() <= (dice.reroll ? 1U : 0U), e, "more than one face set aside");
        for (const int face : die.rerolled) {
            Require(face >= low && face <= top && Matches(dice.reroll->condition, face), e,
                    "a face set aside that the reroll does not match");
        }
        int sum = 0;
        for (std::size_t i = 0; i < die.faces.size(); ++i) {
            Require(die.faces[i] >= low && die.faces[i] <= top, e, "a face off the die");
            Require((i + 1 < die.faces.size()) == (dice.explode && die.faces[i] == top), e,
                    "a chain that does not run on the top face");
            sum += die.faces[i];
        }
        Require(!dice.reroll || dice.reroll->once || !Matches(dice.reroll->condition, die.faces[0]),
                e, "a face that stood though the reroll matches it");
        int value = sum + dice.faceOffset;
        value = dice.minimum ? std::max(value, *dice.minimum) : value;
        value = dice.maximum ? std::min(value, *dice.maximum) : value;
        Require(die.value == value, e, "a value that is not its faces with min and max");
        Require(die.success == (dice.success && Matches(*dice.success, die.value)), e,
                "a success that does not meet the comparison");
        if (!die.dropped) {
            ++kept;
            score += dice.success ? (die.success ? 1 : 0) : die.value;
            lowestKept = std::min(lowestKept, die.value);
            highestKept = std::max(highestKept, die.value);
        }
    }
    Require(kept == KeptCount(dice), e, "as many dice kept as the term keeps");
    for (const DieRoll& die : roll.dice) {
        if (die.dropped) {
            Require(KeepsHighest(dice) ? die.value <= lowestKept : die.value >= highestKept, e,
                    "a dropped die that beats a kept one");
        }
    }
    Require(score == roll.score, e, "a score that is not the kept dice's");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ParseResult parsed =
        ParseExpression(std::string_view(reinterpret_cast<const char*>(data), size));
    std::uint64_t seed = size;
    if (!parsed.ok()) {
        if (size >= sizeof seed) {
            std::memcpy(&seed, data, sizeof seed);
        }
        alearo::oracle::ByteSource bytes(data, size);
        parsed = ParseExpression(alearo::oracle::RandomExpressionText(bytes));
        if (!parsed.ok()) {
            return 0;
        }
    }
    const Expression& e = *parsed.expression;
    Generator first(seed);
    const RollResult roll = Roll(e, first);
    const auto sideTotal = [&e](const std::vector<Term>& terms,
                                const std::vector<TermRoll>& rolls) {
        int sum = 0;
        for (std::size_t i = 0; i < terms.size(); ++i) {
            if (terms[i].isDice) {
                CheckTerm(e, terms[i].dice, rolls[i]);
            }
            sum += terms[i].negative ? -rolls[i].score : rolls[i].score;
        }
        return sum;
    };
    const int total = sideTotal(e.terms, roll.terms);
    Require(total == roll.total, e, "a total that is not its terms'");
    Require(roll.opponentTerms.size() == e.opponent.size() &&
                sideTotal(e.opponent, roll.opponentTerms) == roll.opponentTotal,
            e, "an opponent's total that is not its terms'");
    Generator again(seed);
    Require(RollTotal(e, again) == roll.total, e, "the same seed rolls another total");
    Generator third(seed);
    const RollResult repeat = Roll(e, third);
    Require(repeat.total == roll.total && repeat.terms.size() == roll.terms.size(), e,
            "the same seed rolls other dice");
    const TotalDistribution chances = ExactChances(e, TotalRange{total, total});
    Require(!chances.knows(total) || chances.chanceOf(total) > 0.0L, e,
            "a total rolled that the chances say cannot happen");
    return 0;
}
