// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace alearo::dice {

// The limits of the notation. They keep every total within the reach of a
// plain int, and the chances of every total within 64 MB (the slowest
// expressions found, with their times, are listed in docs/speed.md).
constexpr int kMaxDicePerTerm = 100;
constexpr int kMaxDiceInAll = 500;
constexpr int kMaxDiceTerms = 10;
// The faces of all the dice added up, as five terms of 100d1000 have: the
// totals' range.
constexpr int kMaxFacesInAll = 500000;
// Only dice of at most this many faces may be kept, dropped, exploded or
// rerolled.
constexpr int kMaxSelectedFaces = 100;
constexpr int kMaxFaces = 1000;
constexpr int kMaxNumber = 10000;
constexpr int kMaxTerms = 1000;
// A target after "vs" lies within this of 0, beyond the totals of any dice
// that do not explode.
constexpr int kMaxTarget = 1000000;

enum class Compare { kEqual, kLess, kGreater, kLessOrEqual, kGreaterOrEqual };

// A test of one die's value, as in ">=8" or the "1" of "r1".
struct Condition {
    Compare compare = Compare::kEqual;
    int value = 0;
};

bool Matches(const Condition& condition, int value);

// Which dice of a term count. Keeping the n highest is spelled "k" or "kh".
enum class Selection { kAll, kKeepHighest, kKeepLowest, kDropHighest, kDropLowest };

struct Reroll {
    Condition condition;
    bool once = false;  // "ro": the second face stands whatever it shows
};

// One term of dice such as "4d6dl1" or "10d10>=8", its modifiers held by
// kind, each kind at most once.
struct DiceTerm {
    int count = 1;
    int faces = 6;      // 100 for "%"; unused for a Fate die
    bool fate = false;  // faces -1, 0 and +1
    std::optional<Reroll> reroll;
    bool explode = false;
    std::optional<int> minimum;
    std::optional<int> maximum;
    Selection selection = Selection::kAll;
    int selectionCount = 0;            // how many dice are kept or dropped
    std::optional<Condition> success;  // count the matching dice instead of adding them
    // Added to what each die counts as, before its min and max. The notation
    // has no spelling for it: it is how programs roll a die with a modifier,
    // such as the main window's d6 + 2 raised to at least 1.
    int faceOffset = 0;
};

// The dice that count after keeping or dropping.
int KeptCount(const DiceTerm& dice);

// Whether the dice kept first are the highest (keep highest, drop lowest).
bool KeepsHighest(const DiceTerm& dice);

// The faces of one die: 1 to faces, or -1 to 1 for a Fate die.
int LowestFace(const DiceTerm& dice);
int FaceCount(const DiceTerm& dice);

struct Term {
    bool negative = false;
    bool isDice = false;
    int number = 0;  // the value of a term that is a plain number
    DiceTerm dice;   // the dice of a term that is not
};

// A roll, and what its total is measured against when "vs" follows it: a
// target it must meet, or the total of an opponent's roll it must beat.
struct Expression {
    std::vector<Term> terms;
    std::optional<Condition> target;  // "vs 15" is at least 15: ">=15"
    std::vector<Term> opponent;       // "vs 2d6+1", without a target

    bool opposed() const { return !opponent.empty(); }
    bool versus() const { return target.has_value() || opposed(); }
};

// The roll alone, and the opponent's roll alone, without "vs".
Expression RollSide(const Expression& expression);
Expression OpponentSide(const Expression& expression);

// Equal when they roll alike and spell alike canonically: "k" equals "kh1"
// and "d%" equals "d100", while "4d6dl1" and "4d6kh3" differ.
bool operator==(const Condition& a, const Condition& b);
bool operator!=(const Condition& a, const Condition& b);
bool operator==(const Reroll& a, const Reroll& b);
bool operator!=(const Reroll& a, const Reroll& b);
bool operator==(const DiceTerm& a, const DiceTerm& b);
bool operator!=(const DiceTerm& a, const DiceTerm& b);
bool operator==(const Term& a, const Term& b);
bool operator!=(const Term& a, const Term& b);
bool operator==(const Expression& a, const Expression& b);
bool operator!=(const Expression& a, const Expression& b);

// The expression in lower case without spaces, every count spelled out and
// the modifiers of a term in the order they act: "2d20kh1+5",
// "4d6r1!min2max5dl1>=4", then " vs " and the target or the opponent:
// "1d20+5 vs 15", "1d20 vs <=8", "2d6+3 vs 2d6+1". It parses back to an
// equal expression.
std::string CanonicalText(const Expression& expression);

// What follows "vs" in the canonical text: "15", "<=8" or "2d6+1"; empty
// without "vs".
std::string VersusText(const Expression& expression);

// The spelling of a comparison, such as ">=".
const char* CompareText(Compare compare);

}  // namespace alearo::dice
