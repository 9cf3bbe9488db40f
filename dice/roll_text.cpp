// SPDX-License-Identifier: MIT
#include "dice/roll_text.h"

#include <charconv>
#include <cstddef>

namespace alearo::dice {

namespace {

// Many dice are written per roll: the room of a term's text is made first,
// then filled.
void AppendDice(std::string& out, const TermRoll& term) {
    constexpr std::size_t kNumberRoom = 12;  // a sign, ten digits and what follows
    std::size_t room = 2;
    for (const DieRoll& die : term.dice) {
        room += kNumberRoom * (die.faces.size() + die.rerolled.size() + 1) + 4;
    }
    const std::size_t start = out.size();
    out.resize(start + room);
    char* at = out.data() + start;
    const auto write = [&at](int value) { at = std::to_chars(at, at + kNumberRoom, value).ptr; };
    *at++ = '[';
    for (std::size_t i = 0; i < term.dice.size(); ++i) {
        const DieRoll& die = term.dice[i];
        if (i > 0) {
            *at++ = ' ';
        }
        if (die.dropped) {
            *at++ = '(';
        }
        for (const int face : die.rerolled) {
            write(face);
            *at++ = '/';
        }
        int sum = 0;
        for (std::size_t f = 0; f < die.faces.size(); ++f) {
            if (f > 0) {
                *at++ = '+';
            }
            write(die.faces[f]);
            sum += die.faces[f];
        }
        if (sum != die.value) {
            *at++ = '=';
            *at++ = '>';
            write(die.value);
        }
        if (die.success) {
            *at++ = '*';
        }
        if (die.dropped) {
            *at++ = ')';
        }
    }
    *at++ = ']';
    out.resize(static_cast<std::size_t>(at - out.data()));
}

}  // namespace

void AppendNumber(std::string& out, long long value) {
    char buffer[24];
    out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

namespace {

void AppendSide(std::string& out, const std::vector<Term>& terms,
                const std::vector<TermRoll>& rolls, int total) {
    AppendNumber(out, total);
    out += " =";
    for (std::size_t i = 0; i < rolls.size() && i < terms.size(); ++i) {
        const Term& term = terms[i];
        if (term.negative || i > 0) {
            out += term.negative ? " -" : " +";
        }
        out += ' ';
        if (term.isDice) {
            AppendDice(out, rolls[i]);
        } else {
            AppendNumber(out, term.number);
        }
    }
}

}  // namespace

void AppendRollText(std::string& out, const Expression& expression, const RollResult& roll) {
    AppendSide(out, expression.terms, roll.terms, roll.total);
    if (expression.opposed()) {
        out += " vs ";
        AppendSide(out, expression.opponent, roll.opponentTerms, roll.opponentTotal);
    }
}

std::string RollText(const Expression& expression, const RollResult& roll) {
    std::string text;
    AppendRollText(text, expression, roll);
    return text;
}

}  // namespace alearo::dice
