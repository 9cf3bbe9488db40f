// SPDX-License-Identifier: MIT
#include "dice/expression.h"

#include <tuple>

namespace alearo::dice {

bool Matches(const Condition& condition, int value) {
    switch (condition.compare) {
        case Compare::kEqual:
            return value == condition.value;
        case Compare::kLess:
            return value < condition.value;
        case Compare::kGreater:
            return value > condition.value;
        case Compare::kLessOrEqual:
            return value <= condition.value;
        case Compare::kGreaterOrEqual:
            return value >= condition.value;
    }
    return false;
}

int KeptCount(const DiceTerm& dice) {
    switch (dice.selection) {
        case Selection::kAll:
            return dice.count;
        case Selection::kKeepHighest:
        case Selection::kKeepLowest:
            return dice.selectionCount;
        case Selection::kDropHighest:
        case Selection::kDropLowest:
            return dice.count - dice.selectionCount;
    }
    return dice.count;
}

bool KeepsHighest(const DiceTerm& dice) {
    return dice.selection == Selection::kKeepHighest || dice.selection == Selection::kDropLowest;
}

int LowestFace(const DiceTerm& dice) {
    return dice.fate ? -1 : 1;
}

int FaceCount(const DiceTerm& dice) {
    return dice.fate ? 3 : dice.faces;
}

const char* CompareText(Compare compare) {
    switch (compare) {
        case Compare::kEqual:
            return "=";
        case Compare::kLess:
            return "<";
        case Compare::kGreater:
            return ">";
        case Compare::kLessOrEqual:
            return "<=";
        case Compare::kGreaterOrEqual:
            return ">=";
    }
    return "=";
}

bool operator==(const Condition& a, const Condition& b) {
    return a.compare == b.compare && a.value == b.value;
}
bool operator!=(const Condition& a, const Condition& b) {
    return !(a == b);
}

bool operator==(const Reroll& a, const Reroll& b) {
    return a.condition == b.condition && a.once == b.once;
}
bool operator!=(const Reroll& a, const Reroll& b) {
    return !(a == b);
}

bool operator==(const DiceTerm& a, const DiceTerm& b) {
    // The faces of a Fate die are fixed, whatever the field holds.
    const int facesA = a.fate ? 0 : a.faces;
    const int facesB = b.fate ? 0 : b.faces;
    const int keptA = a.selection == Selection::kAll ? 0 : a.selectionCount;
    const int keptB = b.selection == Selection::kAll ? 0 : b.selectionCount;
    return std::tie(a.count, facesA, a.fate, a.reroll, a.explode, a.minimum, a.maximum, a.selection,
                    keptA, a.success, a.faceOffset) ==
           std::tie(b.count, facesB, b.fate, b.reroll, b.explode, b.minimum, b.maximum, b.selection,
                    keptB, b.success, b.faceOffset);
}
bool operator!=(const DiceTerm& a, const DiceTerm& b) {
    return !(a == b);
}

bool operator==(const Term& a, const Term& b) {
    if (a.negative != b.negative || a.isDice != b.isDice) {
        return false;
    }
    return a.isDice ? a.dice == b.dice : a.number == b.number;
}
bool operator!=(const Term& a, const Term& b) {
    return !(a == b);
}

bool operator==(const Expression& a, const Expression& b) {
    return a.terms == b.terms && a.target == b.target && a.opponent == b.opponent;
}
bool operator!=(const Expression& a, const Expression& b) {
    return !(a == b);
}

namespace {

std::string ConditionText(const Condition& condition) {
    return CompareText(condition.compare) + std::to_string(condition.value);
}

std::string DiceText(const DiceTerm& dice) {
    std::string text = std::to_string(dice.count) + "d";
    text += dice.fate ? "f" : std::to_string(dice.faces);
    if (dice.reroll) {
        text += dice.reroll->once ? "ro" : "r";
        // "=" is what a reroll compares with when none is typed.
        if (dice.reroll->condition.compare != Compare::kEqual) {
            text += CompareText(dice.reroll->condition.compare);
        }
        text += std::to_string(dice.reroll->condition.value);
    }
    if (dice.explode) {
        text += "!";
    }
    if (dice.minimum) {
        text += "min" + std::to_string(*dice.minimum);
    }
    if (dice.maximum) {
        text += "max" + std::to_string(*dice.maximum);
    }
    switch (dice.selection) {
        case Selection::kAll:
            break;
        case Selection::kKeepHighest:
            text += "kh" + std::to_string(dice.selectionCount);
            break;
        case Selection::kKeepLowest:
            text += "kl" + std::to_string(dice.selectionCount);
            break;
        case Selection::kDropHighest:
            text += "dh" + std::to_string(dice.selectionCount);
            break;
        case Selection::kDropLowest:
            text += "dl" + std::to_string(dice.selectionCount);
            break;
    }
    if (dice.success) {
        text += ConditionText(*dice.success);
    }
    return text;
}

std::string TermsText(const std::vector<Term>& terms) {
    std::string text;
    for (const Term& term : terms) {
        if (term.negative) {
            text += '-';
        } else if (!text.empty()) {
            text += '+';
        }
        text += term.isDice ? DiceText(term.dice) : std::to_string(term.number);
    }
    return text;
}

// A target as tables say it: "15" to meet 15, else with its comparison.
std::string TargetText(const Condition& target) {
    return target.compare == Compare::kGreaterOrEqual ? std::to_string(target.value)
                                                      : ConditionText(target);
}

}  // namespace

Expression RollSide(const Expression& expression) {
    return Expression{expression.terms, std::nullopt, {}};
}

Expression OpponentSide(const Expression& expression) {
    return Expression{expression.opponent, std::nullopt, {}};
}

std::string VersusText(const Expression& expression) {
    return expression.target ? TargetText(*expression.target) : TermsText(expression.opponent);
}

std::string CanonicalText(const Expression& expression) {
    std::string text = TermsText(expression.terms);
    if (expression.versus()) {
        text += " vs " + VersusText(expression);
    }
    return text;
}

}  // namespace alearo::dice
