// SPDX-License-Identifier: MIT
#include "dice/die_law.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace alearo::dice {

namespace {

struct FirstFaces {
    int lowest = 1;
    std::vector<double> weight;  // of each face as the first face that stands
    double total = 0.0;
};

// The rerolls act on the first face only. "r" leaves the faces it does not
// match, equally likely; "ro" gives a matching face one more roll, whose face
// stands. Whole-number weights keep the chances exact to the last digit.
FirstFaces FirstFacesOf(const DiceTerm& dice) {
    FirstFaces first;
    first.lowest = dice.fate ? -1 : 1;
    const int faces = dice.fate ? 3 : dice.faces;
    int matching = 0;
    std::vector<bool> matches(static_cast<std::size_t>(faces), false);
    for (int i = 0; i < faces; ++i) {
        matches[static_cast<std::size_t>(i)] =
            dice.reroll && Matches(dice.reroll->condition, first.lowest + i);
        matching += matches[static_cast<std::size_t>(i)] ? 1 : 0;
    }
    for (int i = 0; i < faces; ++i) {
        const bool match = matches[static_cast<std::size_t>(i)];
        double weight = 1.0;
        if (dice.reroll && dice.reroll->once) {
            weight = (match ? 0.0 : faces) + matching;
        } else if (dice.reroll) {
            weight = match ? 0.0 : 1.0;
        }
        first.weight.push_back(weight);
        first.total += weight;
    }
    return first;
}

// The largest number the term's modifiers compare a value with.
int HighestThreshold(const DiceTerm& dice) {
    int highest = 0;
    for (const std::optional<int>& n : {dice.minimum, dice.maximum}) {
        highest = std::max(highest, n.value_or(0));
    }
    if (dice.success) {
        highest = std::max(highest, dice.success->value);
    }
    return highest;
}

int Clamped(const DiceTerm& dice, int value) {
    if (dice.minimum) {
        value = std::max(value, *dice.minimum);
    }
    if (dice.maximum) {
        value = std::min(value, *dice.maximum);
    }
    return value;
}

bool CanExplode(const DiceTerm& dice) {
    return dice.explode && FirstFacesOf(dice).weight.back() > 0.0;
}

}  // namespace

bool HasNoHighest(const DiceTerm& dice) {
    return CanExplode(dice) && !dice.maximum;
}

DieLaw DieLawOf(const DiceTerm& dice, double negligible) {
    const FirstFaces first = FirstFacesOf(dice);
    const int faces = static_cast<int>(first.weight.size());
    // Chances of the raw values: the first face, and for an exploding die the
    // sum of its faces, from the lowest face up.
    std::vector<double> raw;
    for (const double weight : first.weight) {
        raw.push_back(weight / first.total);
    }
    double beyond = 0.0;
    if (dice.explode && raw.back() > 0.0) {
        // The highest face F is rolled again and again: the values F + jF + r
        // for r from 1 to F - 1 each have the chance of the first face F times
        // F^-(j+1). The chain stops where what is left is negligible and past
        // every number the term compares with, so what is left acts alike.
        const double top = raw.back();
        raw.back() = 0.0;
        const int threshold = HighestThreshold(dice);
        double level = top / faces;  // chance of each value of the chain's level j
        for (int j = 0;; ++j) {
            for (int r = 1; r < faces; ++r) {
                raw.push_back(level);
            }
            raw.push_back(0.0);  // a multiple of F: it would have exploded
            level /= faces;
            const long long highest = static_cast<long long>(j + 2) * faces;
            if (level * faces <= negligible && highest - 1 >= threshold) {
                raw.pop_back();
                beyond = level * faces;
                break;
            }
        }
    }

    DieLaw law;
    const int rawLowest = first.lowest;
    const int rawHighest = rawLowest + static_cast<int>(raw.size()) - 1;
    law.lowest = Clamped(dice, rawLowest);
    law.chance.assign(static_cast<std::size_t>(Clamped(dice, rawHighest) - law.lowest + 1), 0.0);
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const int value = Clamped(dice, rawLowest + static_cast<int>(i));
        law.chance[static_cast<std::size_t>(value - law.lowest)] += raw[i];
    }
    if (dice.maximum) {
        // The values past the chain are all above the max.
        law.chance.back() += beyond;
        beyond = 0.0;
    }
    law.beyond = beyond;
    law.beyondMatches =
        dice.success && Matches(*dice.success, std::max(rawHighest, HighestThreshold(dice)) + 1);
    return law;
}

Support DieSupportOf(const DiceTerm& dice, long long cap) {
    const FirstFaces first = FirstFacesOf(dice);
    const int faces = static_cast<int>(first.weight.size());
    const bool explodes = CanExplode(dice);
    std::vector<Span> raw;
    for (int i = 0; i < faces; ++i) {
        if (first.weight[static_cast<std::size_t>(i)] > 0.0 && !(explodes && i == faces - 1)) {
            raw.push_back({first.lowest + i, first.lowest + i});
        }
    }
    if (explodes) {
        // F + jF + r for r from 1 to F - 1; past the cap only as far as the
        // min and max can tell apart.
        const long long threshold = HighestThreshold(dice) + 1;
        const long long limit = dice.maximum ? threshold : std::max(cap, threshold);
        for (long long base = faces; base + 1 <= limit; base += faces) {
            raw.push_back({base + 1, base + faces - 1});
        }
    }
    const bool endless = explodes && !dice.maximum;
    std::vector<Span> spans;
    for (const Span& span : raw) {
        const Span clamped{Clamped(dice, static_cast<int>(span.first)),
                           Clamped(dice, static_cast<int>(span.last))};
        if (!endless || clamped.first <= cap) {
            spans.push_back({clamped.first, endless ? std::min(clamped.last, cap) : clamped.last});
        }
    }
    return SupportOf(spans);
}

}  // namespace alearo::dice
