// SPDX-License-Identifier: MIT
#include "dice/roll.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <functional>

namespace alearo::dice {

namespace {

// The faces a reroll lets stand, in at most two runs: the faces from `low`
// to `top` that do not meet its condition.
struct Standing {
    int firstLow = 0, firstHigh = -1;
    int secondLow = 0, secondHigh = -1;

    int count() const { return firstHigh - firstLow + 1 + secondHigh - secondLow + 1; }
    int at(int i) const {
        const int first = firstHigh - firstLow + 1;
        return i < first ? firstLow + i : secondLow + (i - first);
    }
};

Standing StandingFaces(const Condition& condition, int low, int top) {
    const int v = condition.value;
    Standing standing;
    switch (condition.compare) {
        case Compare::kEqual:
            standing = {low, std::min(top, v - 1), std::max(low, v + 1), top};
            break;
        case Compare::kLess:
            standing.firstLow = std::max(low, v);
            standing.firstHigh = top;
            break;
        case Compare::kLessOrEqual:
            standing.firstLow = std::max(low, v + 1);
            standing.firstHigh = top;
            break;
        case Compare::kGreater:
            standing.firstLow = low;
            standing.firstHigh = std::min(top, v);
            break;
        case Compare::kGreaterOrEqual:
            standing.firstLow = low;
            standing.firstHigh = std::min(top, v - 1);
            break;
    }
    // An empty run counts no faces.
    if (standing.firstHigh < standing.firstLow) {
        standing.firstLow = 0;
        standing.firstHigh = -1;
    }
    if (standing.secondHigh < standing.secondLow) {
        standing.secondLow = 0;
        standing.secondHigh = -1;
    }
    return standing;
}

// The dice of one term, rolled one at a time: what the term's modifiers make
// of each die is worked out once.
class DieRoller {
  public:
    explicit DieRoller(const DiceTerm& dice)
        : m_dice(dice), m_lowest(LowestFace(dice)), m_faces(FaceCount(dice)) {
        if (dice.reroll && !dice.reroll->once) {
            m_standing = StandingFaces(dice.reroll->condition, m_lowest, m_lowest + m_faces - 1);
        }
    }

    // One die, from its first face to what it counts as. `record` (may be
    // null) receives the faces.
    int roll(Generator& generator, DieRoll* record) const {
        int first = face(generator);
        if (m_dice.reroll && Matches(m_dice.reroll->condition, first)) {
            // Only the first face is looked at. "ro" lets the second face
            // stand; "r" rolls until a face stands, which comes to one draw
            // from the faces that stand, each as likely.
            if (record != nullptr) {
                record->rerolled.push_back(first);
            }
            first = m_dice.reroll->once ? face(generator)
                                        : m_standing.at(static_cast<int>(generator.below(
                                              static_cast<std::uint32_t>(m_standing.count()))));
        }
        int value = first;
        if (record != nullptr) {
            record->faces.push_back(first);
        }
        if (m_dice.explode && first == m_faces) {
            int next = 0;
            do {
                next = face(generator);
                value += next;
                if (record != nullptr) {
                    record->faces.push_back(next);
                }
            } while (next == m_faces);
        }
        value += m_dice.faceOffset;
        if (m_dice.minimum) {
            value = std::max(value, *m_dice.minimum);
        }
        if (m_dice.maximum) {
            value = std::min(value, *m_dice.maximum);
        }
        return value;
    }

  private:
    int face(Generator& generator) const {
        return m_lowest + static_cast<int>(generator.below(static_cast<std::uint32_t>(m_faces)));
    }

    const DiceTerm& m_dice;
    int m_lowest;
    int m_faces;
    Standing m_standing;
};

// The value of the k-th die in the order of keeping (highest first or lowest
// first): counted where the values span few numbers, as they mostly do.
int KthInOrder(const int* values, int count, int k, bool highest) {
    constexpr int kCountedSpan = 256;
    const auto [low, high] = std::minmax_element(values, values + count);
    if (*high - *low < kCountedSpan) {
        std::array<int, kCountedSpan> seen{};
        for (int i = 0; i < count; ++i) {
            ++seen[static_cast<std::size_t>(values[i] - *low)];
        }
        for (int v = highest ? *high : *low;; v += highest ? -1 : 1) {
            k -= seen[static_cast<std::size_t>(v - *low)];
            if (k <= 0) {
                return v;
            }
        }
    }
    std::array<int, kMaxDicePerTerm> sorted{};
    std::copy(values, values + count, sorted.begin());
    const auto kth = sorted.begin() + k - 1;
    if (highest) {
        std::nth_element(sorted.begin(), kth, sorted.begin() + count, std::greater<>());
    } else {
        std::nth_element(sorted.begin(), kth, sorted.begin() + count);
    }
    return *kth;
}

// Marks which dice of a term stay: the first `kept` in the order of keeping,
// equal values in the order rolled.
void SelectKept(const DiceTerm& dice, const int* values, bool* keep) {
    const int count = dice.count;
    const int kept = KeptCount(dice);
    std::fill(keep, keep + count, true);
    if (kept == count) {
        return;
    }
    const bool highest =
        dice.selection == Selection::kKeepHighest || dice.selection == Selection::kDropLowest;
    const auto before = [highest](int a, int b) { return highest ? a > b : a < b; };
    // The value of the last die kept: those before it in the order of
    // keeping all stay, and of those equal to it the first rolled.
    const int boundary = KthInOrder(values, count, kept, highest);
    int equalKept = kept - static_cast<int>(std::count_if(values, values + count, [&](int value) {
                        return before(value, boundary);
                    }));
    for (int i = 0; i < count; ++i) {
        keep[i] = before(values[i], boundary) || (values[i] == boundary && equalKept-- > 0);
    }
}

int Score(const DiceTerm& dice, const int* values, const bool* keep) {
    int score = 0;
    for (int i = 0; i < dice.count; ++i) {
        if (keep[i]) {
            score += dice.success ? (Matches(*dice.success, values[i]) ? 1 : 0) : values[i];
        }
    }
    return score;
}

}  // namespace

Generator::Generator() {
    std::random_device device;
    std::seed_seq seeds{device(), device(), device(), device(),
                        device(), device(), device(), device()};
    m_engine.seed(seeds);
}

Generator::Generator(std::uint64_t seed) : m_engine(seed) {}

RollResult Roll(const Expression& expression, Generator& generator) {
    RollResult result;
    Roll(expression, generator, result);
    return result;
}

namespace {

// Rolls the terms into `rolls`, one each; their total.
int RollTerms(const std::vector<Term>& terms, Generator& generator, std::vector<TermRoll>& rolls) {
    int total = 0;
    rolls.resize(terms.size());
    for (std::size_t t = 0; t < terms.size(); ++t) {
        const Term& term = terms[t];
        TermRoll& roll = rolls[t];
        if (!term.isDice) {
            roll.dice.clear();
            roll.score = term.number;
        } else {
            const DiceTerm& dice = term.dice;
            std::array<int, kMaxDicePerTerm> values;
            std::array<bool, kMaxDicePerTerm> keep;
            roll.dice.resize(static_cast<std::size_t>(dice.count));
            const DieRoller roller(dice);
            for (int i = 0; i < dice.count; ++i) {
                DieRoll& die = roll.dice[static_cast<std::size_t>(i)];
                die.faces.clear();
                die.rerolled.clear();
                die.value = roller.roll(generator, &die);
                values[static_cast<std::size_t>(i)] = die.value;
            }
            SelectKept(dice, values.data(), keep.data());
            for (int i = 0; i < dice.count; ++i) {
                DieRoll& die = roll.dice[static_cast<std::size_t>(i)];
                die.dropped = !keep[static_cast<std::size_t>(i)];
                die.success = dice.success && Matches(*dice.success, die.value);
            }
            roll.score = Score(dice, values.data(), keep.data());
        }
        total += term.negative ? -roll.score : roll.score;
    }
    return total;
}

}  // namespace

void Roll(const Expression& expression, Generator& generator, RollResult& result) {
    result.total = RollTerms(expression.terms, generator, result.terms);
    result.opponentTotal = RollTerms(expression.opponent, generator, result.opponentTerms);
}

int RollTotal(const Expression& expression, Generator& generator) {
    int total = 0;
    std::array<int, kMaxDicePerTerm> values;
    std::array<bool, kMaxDicePerTerm> keep;
    for (const Term& term : expression.terms) {
        int score = term.number;
        if (term.isDice) {
            const DiceTerm& dice = term.dice;
            const DieRoller roller(dice);
            for (int i = 0; i < dice.count; ++i) {
                values[static_cast<std::size_t>(i)] = roller.roll(generator, nullptr);
            }
            SelectKept(dice, values.data(), keep.data());
            score = Score(dice, values.data(), keep.data());
        }
        total += term.negative ? -score : score;
    }
    return total;
}

}  // namespace alearo::dice
