// SPDX-License-Identifier: MIT
#include "dice/parse.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <utility>

namespace alearo::dice {

namespace {

// Digits past this only matter as "too large"; stopping here keeps a long run
// of digits from overflowing.
constexpr long long kSaturated = 1000000000LL;

std::string TooManyFacesToSelect() {
    return "Only dice of at most " + std::to_string(kMaxSelectedFaces) +
           " faces can be kept, dropped or exploded.";
}

std::string TargetRange() {
    return "A target is from -" + std::to_string(kMaxTarget) + " to " + std::to_string(kMaxTarget) +
           ".";
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// A character as the messages show it: itself in quotes when printable.
std::string Shown(char c) {
    if (c >= 0x21 && c <= 0x7E) {
        return std::string("\"") + c + "\"";
    }
    return "this character";
}

int CountMatchingFaces(const DiceTerm& dice, const Condition& condition) {
    const int lowest = dice.fate ? -1 : 1;
    const int highest = dice.fate ? 1 : dice.faces;
    int matching = 0;
    for (int face = lowest; face <= highest; ++face) {
        matching += Matches(condition, face) ? 1 : 0;
    }
    return matching;
}

// Where a kind of modifier was first typed, to refuse a second one.
struct SeenModifiers {
    std::optional<std::size_t> keep, explode, reroll, minimum, maximum, success;
};

class Parser {
  public:
    explicit Parser(std::string_view text) : m_text(text) {}

    // The whole text as an expression, or only what follows a roll: "vs"
    // and its target or opponent.
    ParseResult run(bool versusOnly = false) {
        ParseResult result;
        if (!(versusOnly ? parseVersusOnly() : parseAll())) {
            result.error = std::move(*m_error);
            return result;
        }
        result.expression = std::move(m_expression);
        return result;
    }

  private:
    std::string_view m_text;
    std::size_t m_pos = 0;
    std::optional<ParseError> m_error;
    Expression m_expression;
    int m_diceInAll = 0;
    int m_diceTerms = 0;
    int m_facesInAll = 0;

    bool fail(std::size_t at, std::string message) {
        m_error = ParseError{static_cast<int>(at) + 1, std::move(message)};
        return false;
    }

    bool atEnd() const { return m_pos >= m_text.size(); }

    // The character `ahead` places on, in lower case; '\0' past the end.
    char peek(std::size_t ahead = 0) const {
        return m_pos + ahead < m_text.size() ? Lower(m_text[m_pos + ahead]) : '\0';
    }

    void skipSpaces() {
        while (!atEnd() && IsSpace(m_text[m_pos])) {
            ++m_pos;
        }
    }

    long long readDigits() {
        long long value = 0;
        while (!atEnd() && IsDigit(m_text[m_pos])) {
            value = value * 10 + (m_text[m_pos] - '0');
            if (value > kSaturated) {
                value = kSaturated + 1;
            }
            ++m_pos;
        }
        return value;
    }

    // A number of a modifier, which must follow: "min" then "2".
    bool requiredNumber(const std::string& after, const std::string& example, int& value) {
        skipSpaces();
        if (!IsDigit(peek())) {
            return fail(m_pos, after + " needs a number after it, as in " + example + ".");
        }
        return boundedNumber(value);
    }

    bool boundedNumber(int& value) {
        const std::size_t at = m_pos;
        const long long read = readDigits();
        if (read > kMaxNumber) {
            return fail(at, "A number here is at most " + std::to_string(kMaxNumber) + ".");
        }
        value = static_cast<int>(read);
        return true;
    }

    bool parseAll() {
        skipSpaces();
        if (atEnd()) {
            return fail(0, "Nothing to roll: type dice such as 2d6+3.");
        }
        if (atVersus()) {
            return fail(m_pos, "Put the roll before \"vs\", as in 1d20+5 vs 15.");
        }
        if (!parseSide(m_expression.terms)) {
            return false;
        }
        return atEnd() || parseVersus();
    }

    bool parseVersusOnly() {
        skipSpaces();
        if (!atVersus()) {
            return fail(m_pos, "Start with \"vs\", as in vs 15 or vs 2d6+1.");
        }
        return parseVersus();
    }

    // "vs" binds loosest: it ends the terms of a side.
    bool atVersus() const { return peek() == 'v' && peek(1) == 's'; }

    // Terms joined by "+" and "-", up to the end or to "vs".
    bool parseSide(std::vector<Term>& terms) {
        bool negative = false;
        std::optional<char> sign;
        if (peek() == '+' || peek() == '-') {
            negative = peek() == '-';
            sign = peek();
            ++m_pos;
        }
        while (true) {
            skipSpaces();
            Term term;
            term.negative = negative;
            if (!parseOperand(term, sign)) {
                return false;
            }
            terms.push_back(term);
            skipSpaces();
            if (atEnd() || atVersus()) {
                return true;
            }
            const char c = peek();
            if (c != '+' && c != '-') {
                return failBetweenTerms(term.isDice);
            }
            if (static_cast<int>(terms.size()) >= kMaxTerms) {
                return fail(m_pos, "Too many terms: an expression holds at most " +
                                       std::to_string(kMaxTerms) + ".");
            }
            negative = c == '-';
            sign = c;
            ++m_pos;
        }
    }

    // At "vs": a target, with or without its comparison, or the opponent's
    // roll. An opponent without dice is a total to meet, as a bare number is.
    bool parseVersus() {
        m_pos += 2;
        skipSpaces();
        if (atEnd()) {
            return fail(m_pos,
                        "Put a target or a roll after \"vs\", as in 1d20+5 vs 15 or "
                        "2d6+3 vs 2d6+1.");
        }
        if (peek() == '<' || peek() == '>' || peek() == '=') {
            if (!parseTarget()) {
                return false;
            }
        } else if (!parseBareTarget() && !m_error && !parseOpponent()) {
            return false;
        }
        if (m_error) {
            return false;
        }
        skipSpaces();
        if (atVersus()) {
            return fail(m_pos, "A roll takes only one \"vs\".");
        }
        return atEnd() || fail(m_pos, "Unexpected " + Shown(m_text[m_pos]) +
                                          " after the target: it is one number.");
    }

    // The opponent's terms; numbers alone are a target to meet, as one is.
    bool parseOpponent() {
        const std::size_t at = m_pos;
        if (!parseSide(m_expression.opponent)) {
            return false;
        }
        if (std::any_of(m_expression.opponent.begin(), m_expression.opponent.end(),
                        [](const Term& term) { return term.isDice; })) {
            return true;
        }
        long long value = 0;
        for (const Term& term : m_expression.opponent) {
            value += term.negative ? -term.number : term.number;
        }
        if (value < -kMaxTarget || value > kMaxTarget) {
            return fail(at, TargetRange());
        }
        m_expression.target = Condition{Compare::kGreaterOrEqual, static_cast<int>(value)};
        m_expression.opponent.clear();
        return true;
    }

    // A comparison and its number, which may be below 0: "<=8", ">-2".
    bool parseTarget() {
        Condition target;
        target.compare = readCompare();
        skipSpaces();
        const std::size_t at = m_pos;
        const bool below = peek() == '-';
        if (below) {
            ++m_pos;
            skipSpaces();
        }
        if (!IsDigit(peek())) {
            const std::string name = std::string("\"") + CompareText(target.compare) + "\"";
            return fail(m_pos, name + " needs a number after it, as in 1d20 vs " +
                                   CompareText(target.compare) + "15.");
        }
        if (!targetNumber(at, below, target.value)) {
            return false;
        }
        m_expression.target = target;
        return true;
    }

    // A number alone after "vs", "15" or "-3", which may reach past the
    // numbers a term adds, as far as totals go; false, with nothing read,
    // when more follows it.
    bool parseBareTarget() {
        const std::size_t at = m_pos;
        const bool below = peek() == '-';
        m_pos += below ? 1 : 0;
        skipSpaces();
        std::size_t end = m_pos;
        while (end < m_text.size() && IsDigit(m_text[end])) {
            ++end;
        }
        std::size_t after = end;
        while (after < m_text.size() && IsSpace(m_text[after])) {
            ++after;
        }
        if (end == m_pos || after < m_text.size()) {
            m_pos = at;
            return false;
        }
        int value = 0;
        if (!targetNumber(at, below, value)) {
            return false;
        }
        m_expression.target = Condition{Compare::kGreaterOrEqual, value};
        return true;
    }

    // The digits of a target that starts at `at`, below 0 if `below`.
    bool targetNumber(std::size_t at, bool below, int& value) {
        const long long read = readDigits();
        if (read > kMaxTarget) {
            return fail(at, TargetRange());
        }
        value = static_cast<int>(below ? -read : read);
        return true;
    }

    bool failBetweenTerms(bool afterDice) {
        const char c = m_text[m_pos];
        if (IsDigit(c) || (afterDice && Lower(c) == 'd')) {
            return fail(m_pos, "Put \"+\" or \"-\" between two terms.");
        }
        if (!afterDice &&
            (c == '!' || c == '<' || c == '>' || c == '=' ||
             (IsLetter(c) && std::string_view("kmr").find(Lower(c)) != std::string_view::npos))) {
            return fail(m_pos, "Only dice take modifiers such as " + Shown(c) + ".");
        }
        if (IsLetter(c)) {
            return fail(m_pos, "Unknown letter " + Shown(c) + ".");
        }
        return fail(m_pos, "Unexpected " + Shown(c) + ".");
    }

    bool parseOperand(Term& term, std::optional<char> sign) {
        const std::size_t at = m_pos;
        const char c = peek();
        if (IsDigit(c)) {
            const long long number = readDigits();
            skipSpaces();
            if (peek() == 'd') {
                term.isDice = true;
                return parseDice(term.dice, at, number);
            }
            if (number > kMaxNumber) {
                return fail(at, "A number to add is at most " + std::to_string(kMaxNumber) + ".");
            }
            term.number = static_cast<int>(number);
            return true;
        }
        if (c == 'd') {
            term.isDice = true;
            return parseDice(term.dice, at, 1);
        }
        if (sign && (atEnd() || !IsLetter(c) || atVersus())) {
            return fail(at, std::string("A term is missing after \"") + *sign + "\".");
        }
        if (IsLetter(c)) {
            return fail(at, "Unknown letter " + Shown(m_text[at]) +
                                ": a term is a number or dice such as 2d6.");
        }
        return fail(at, Shown(m_text[at]) +
                            " cannot start a term: a term is a number or dice "
                            "such as 2d6.");
    }

    // At the "d" of a dice term that starts at `at`.
    bool parseDice(DiceTerm& dice, std::size_t at, long long count) {
        if (!countDice(at, count)) {
            return false;
        }
        dice.count = static_cast<int>(count);
        ++m_pos;
        skipSpaces();
        if (!parseFaces(dice) || !addFaces(dice.count, FaceCount(dice), at)) {
            return false;
        }
        SeenModifiers seen;
        bool more = true;
        while (more) {
            skipSpaces();
            if (!parseModifier(dice, seen, more)) {
                return false;
            }
        }
        if (dice.explode && dice.maximum && *dice.maximum > dice.faces) {
            return addFaces(dice.count, *dice.maximum - dice.faces, *seen.maximum);
        }
        return true;
    }

    // Counts the dice of a term that starts at `at` into the expression's.
    bool countDice(std::size_t at, long long count) {
        if (count < 1) {
            return fail(at, "A term rolls at least one die.");
        }
        if (count > kMaxDicePerTerm) {
            return fail(
                at, "Too many dice: at most " + std::to_string(kMaxDicePerTerm) + " in one term.");
        }
        if (m_diceInAll + count > kMaxDiceInAll) {
            return fail(at, "Too many dice: at most " + std::to_string(kMaxDiceInAll) + " in all.");
        }
        if (++m_diceTerms > kMaxDiceTerms) {
            return fail(at,
                        "Too many terms of dice: at most " + std::to_string(kMaxDiceTerms) + ".");
        }
        m_diceInAll += static_cast<int>(count);
        return true;
    }

    // The faces after the "d": a number, "%" or "F".
    bool parseFaces(DiceTerm& dice) {
        const std::size_t facesAt = m_pos;
        if (IsDigit(peek())) {
            const long long faces = readDigits();
            if (faces < 1 || faces > kMaxFaces) {
                return fail(facesAt, "A die has 1 to " + std::to_string(kMaxFaces) + " faces.");
            }
            dice.faces = static_cast<int>(faces);
        } else if (peek() == '%') {
            dice.faces = 100;
            ++m_pos;
        } else if (peek() == 'f') {
            dice.fate = true;
            dice.faces = 3;
            ++m_pos;
        } else {
            return fail(facesAt, "Put the number of faces after \"d\", as in d6, d% or dF.");
        }
        return true;
    }

    // Counts the faces of the term's dice into those of the expression: an
    // exploding die with a max comes to as many values as its max.
    bool addFaces(int count, int faces, std::size_t at) {
        m_facesInAll += count * faces;
        if (m_facesInAll > kMaxFacesInAll) {
            return fail(at, "Too many faces: the dice have at most " +
                                std::to_string(kMaxFacesInAll) +
                                " faces in all, as five terms of 100d1000 have (an exploding die "
                                "with a max counts its max).");
        }
        return true;
    }

    bool once(std::optional<std::size_t>& seen, std::size_t at, const char* what) {
        if (seen) {
            return fail(at, std::string("A dice term takes only one ") + what + ".");
        }
        seen = at;
        return true;
    }

    // One modifier at the current place; `more` tells whether there was one.
    bool parseModifier(DiceTerm& dice, SeenModifiers& seen, bool& more) {
        const std::size_t at = m_pos;
        const char c = peek();
        more = true;
        if (c == 'k' || (c == 'd' && (peek(1) == 'h' || peek(1) == 'l'))) {
            return parseSelection(dice, seen, at);
        }
        if (c == '!') {
            ++m_pos;
            if (!once(seen.explode, at, "\"!\"")) {
                return false;
            }
            if (dice.fate) {
                return fail(at, "A Fate die cannot explode.");
            }
            if (dice.faces == 1) {
                return fail(at, "A die of one face would explode forever.");
            }
            if (dice.faces > kMaxSelectedFaces) {
                return fail(at, TooManyFacesToSelect());
            }
            dice.explode = true;
            return true;
        }
        if (c == 'r') {
            return parseReroll(dice, seen, at);
        }
        if (c == 'm') {
            return parseLimit(dice, seen, at);
        }
        if (c == '<' || c == '>' || c == '=') {
            if (!once(seen.success, at, "comparison")) {
                return false;
            }
            Condition condition;
            condition.compare = readCompare();
            if (!requiredNumber(std::string("\"") + CompareText(condition.compare) + "\"",
                                std::string("10d10") + CompareText(condition.compare) + "8",
                                condition.value)) {
                return false;
            }
            dice.success = condition;
            return true;
        }
        more = false;
        return true;
    }

    // At "<", ">" or "="; reads one comparison.
    Compare readCompare() {
        const char c = peek();
        ++m_pos;
        const bool orEqual = c != '=' && peek() == '=';
        if (orEqual) {
            ++m_pos;
        }
        switch (c) {
            case '<':
                return orEqual ? Compare::kLessOrEqual : Compare::kLess;
            case '>':
                return orEqual ? Compare::kGreaterOrEqual : Compare::kGreater;
            default:
                return Compare::kEqual;
        }
    }

    bool parseSelection(DiceTerm& dice, SeenModifiers& seen, std::size_t at) {
        const bool drop = peek() == 'd';
        ++m_pos;
        const char which = peek();
        const bool lowest = which == 'l';
        if (which == 'h' || which == 'l') {
            ++m_pos;
        }
        if (!once(seen.keep, at, "keep or drop")) {
            return false;
        }
        if (dice.faces > kMaxSelectedFaces) {
            return fail(at, TooManyFacesToSelect());
        }
        skipSpaces();
        int n = 1;
        if (IsDigit(peek()) && !boundedNumber(n)) {
            return false;
        }
        if (drop) {
            if (n == 0) {
                return fail(at, "Drop at least one die, or leave out the drop.");
            }
            if (n >= dice.count) {
                return fail(at, "Cannot drop " + std::to_string(n) + " of " +
                                    std::to_string(dice.count) + " dice: one at least must stay.");
            }
            dice.selection = lowest ? Selection::kDropLowest : Selection::kDropHighest;
        } else {
            if (n == 0) {
                return fail(at, "Keep at least one die.");
            }
            if (n > dice.count) {
                return fail(at, "Cannot keep " + std::to_string(n) + " of " +
                                    std::to_string(dice.count) + " dice.");
            }
            dice.selection = lowest ? Selection::kKeepLowest : Selection::kKeepHighest;
        }
        dice.selectionCount = n;
        return true;
    }

    bool parseReroll(DiceTerm& dice, SeenModifiers& seen, std::size_t at) {
        ++m_pos;
        Reroll reroll;
        reroll.once = peek() == 'o';
        if (reroll.once) {
            ++m_pos;
        }
        if (!once(seen.reroll, at, "reroll")) {
            return false;
        }
        skipSpaces();
        if (peek() == '<' || peek() == '>' || peek() == '=') {
            reroll.condition.compare = readCompare();
        }
        const std::string name = reroll.once ? "\"ro\"" : "\"r\"";
        if (!requiredNumber(name, reroll.once ? "ro1" : "r1", reroll.condition.value)) {
            return false;
        }
        const int faces = dice.fate ? 3 : dice.faces;
        if (!reroll.once && CountMatchingFaces(dice, reroll.condition) == faces) {
            return fail(at, "This reroll matches every face, so the die would never stop rolling.");
        }
        dice.reroll = reroll;
        return true;
    }

    bool parseLimit(DiceTerm& dice, SeenModifiers& seen, std::size_t at) {
        const bool isMin = peek(1) == 'i' && peek(2) == 'n';
        const bool isMax = peek(1) == 'a' && peek(2) == 'x';
        if (!isMin && !isMax) {
            return fail(at, "Unknown modifier: \"min\" and \"max\" are the ones with an \"m\".");
        }
        m_pos += 3;
        if (!once(isMin ? seen.minimum : seen.maximum, at, isMin ? "min" : "max")) {
            return false;
        }
        int n = 0;
        if (!requiredNumber(isMin ? "\"min\"" : "\"max\"", isMin ? "min2" : "max5", n)) {
            return false;
        }
        (isMin ? dice.minimum : dice.maximum) = n;
        if (dice.minimum && dice.maximum && *dice.minimum > *dice.maximum) {
            return fail(at, "The min is above the max: no value could count.");
        }
        return true;
    }
};

}  // namespace

ParseResult ParseExpression(std::string_view text) {
    return Parser(text).run();
}

ParseResult ParseVersus(std::string_view text) {
    return Parser(text).run(true);
}

}  // namespace alearo::dice
