// SPDX-License-Identifier: MIT
#include "dice/roll.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace alearo::dice {

namespace {

__extension__ typedef unsigned __int128 Wide;

// One die, from its first face to what it counts as. `record` (may be null)
// receives the faces.
int RollDie(const DiceTerm& dice, Generator& generator, DieRoll* record) {
    const int lowest = dice.fate ? -1 : 1;
    const int faces = dice.fate ? 3 : dice.faces;
    const auto face = [&] { return lowest + static_cast<int>(generator.Below(faces)); };
    int first = face();
    if (dice.reroll) {
        // Only the first face is looked at; "ro" lets the second face stand.
        while (Matches(dice.reroll->condition, first)) {
            if (record != nullptr) {
                record->rerolled.push_back(first);
            }
            first = face();
            if (dice.reroll->once) {
                break;
            }
        }
    }
    int value = first;
    if (record != nullptr) {
        record->faces.push_back(first);
    }
    if (dice.explode && first == faces) {
        int next = 0;
        do {
            next = face();
            value += next;
            if (record != nullptr) {
                record->faces.push_back(next);
            }
        } while (next == faces);
    }
    if (dice.minimum) {
        value = std::max(value, *dice.minimum);
    }
    if (dice.maximum) {
        value = std::min(value, *dice.maximum);
    }
    return value;
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
    std::array<int, kMaxDicePerTerm> order;
    for (int i = 0; i < count; ++i) {
        order[static_cast<std::size_t>(i)] = i;
    }
    const bool highest =
        dice.selection == Selection::kKeepHighest || dice.selection == Selection::kDropLowest;
    std::stable_sort(order.begin(), order.begin() + count, [&](int a, int b) {
        return highest ? values[a] > values[b] : values[a] < values[b];
    });
    for (int i = kept; i < count; ++i) {
        keep[order[static_cast<std::size_t>(i)]] = false;
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
    engine_.seed(seeds);
}

Generator::Generator(std::uint64_t seed) : engine_(seed) {}

std::uint64_t Generator::Below(std::uint64_t bound) {
    // The high half of x * bound is uniform on [0, bound) once the draws whose
    // low half falls below 2^64 mod bound are thrown back.
    Wide product = static_cast<Wide>(engine_()) * bound;
    auto low = static_cast<std::uint64_t>(product);
    if (low < bound) {
        const std::uint64_t threshold = (0 - bound) % bound;
        while (low < threshold) {
            product = static_cast<Wide>(engine_()) * bound;
            low = static_cast<std::uint64_t>(product);
        }
    }
    return static_cast<std::uint64_t>(product >> 64);
}

RollResult Roll(const Expression& expression, Generator& generator) {
    RollResult result;
    for (const Term& term : expression.terms) {
        TermRoll roll;
        if (!term.isDice) {
            roll.score = term.number;
        } else {
            const DiceTerm& dice = term.dice;
            std::array<int, kMaxDicePerTerm> values;
            std::array<bool, kMaxDicePerTerm> keep;
            roll.dice.resize(static_cast<std::size_t>(dice.count));
            for (int i = 0; i < dice.count; ++i) {
                DieRoll& die = roll.dice[static_cast<std::size_t>(i)];
                die.value = RollDie(dice, generator, &die);
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
        result.total += term.negative ? -roll.score : roll.score;
        result.terms.push_back(std::move(roll));
    }
    return result;
}

int RollTotal(const Expression& expression, Generator& generator) {
    int total = 0;
    std::array<int, kMaxDicePerTerm> values;
    std::array<bool, kMaxDicePerTerm> keep;
    for (const Term& term : expression.terms) {
        int score = term.number;
        if (term.isDice) {
            const DiceTerm& dice = term.dice;
            for (int i = 0; i < dice.count; ++i) {
                values[static_cast<std::size_t>(i)] = RollDie(dice, generator, nullptr);
            }
            SelectKept(dice, values.data(), keep.data());
            score = Score(dice, values.data(), keep.data());
        }
        total += term.negative ? -score : score;
    }
    return total;
}

}  // namespace alearo::dice
