// SPDX-License-Identifier: MIT
#include "dice/detail/die_law.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstddef>
#include <optional>

namespace alearo::dice {

namespace {

// Chances that are numbers, none negative, adding up to 1 within round-off.
[[maybe_unused]] bool IsLaw(const DieLaw& law) {
    Chance mass = law.beyond;
    for (const Chance chance : law.chance) {
        if (!(chance >= 0.0L && std::isfinite(chance))) {
            return false;
        }
        mass += chance;
    }
    return std::abs(mass - 1.0L) < 1e-12L;
}

// The chance of each face as the one that stands first. "r" leaves the faces
// it does not match, equally likely; "ro" gives a matching face one more
// roll, whose face stands whatever it shows.
std::vector<Chance> FirstFaces(const DiceTerm& dice) {
    const int faces = FaceCount(dice);
    std::vector<bool> matches(static_cast<std::size_t>(faces), false);
    int matching = 0;
    for (int i = 0; i < faces; ++i) {
        matches[static_cast<std::size_t>(i)] =
            dice.reroll && Matches(dice.reroll->condition, LowestFace(dice) + i);
        matching += matches[static_cast<std::size_t>(i)] ? 1 : 0;
    }
    const Chance n = faces;
    std::vector<Chance> chance;
    for (int i = 0; i < faces; ++i) {
        const bool match = matches[static_cast<std::size_t>(i)];
        if (!dice.reroll) {
            chance.push_back(1.0L / n);
        } else if (dice.reroll->once) {
            chance.push_back(((match ? 0 : faces) + matching) / (n * n));
        } else {
            chance.push_back(match ? 0.0L : 1.0L / (faces - matching));
        }
    }
    return chance;
}

// The largest number the term compares a value with.
int HighestThreshold(const DiceTerm& dice) {
    int highest = 0;
    for (const std::optional<int>& n : {dice.minimum, dice.maximum}) {
        highest = std::max(highest, n.value_or(0));
    }
    return dice.success ? std::max(highest, dice.success->value) : highest;
}

long long Clamped(const DiceTerm& dice, long long value) {
    value += dice.faceOffset;
    if (dice.minimum) {
        value = std::max<long long>(value, *dice.minimum);
    }
    if (dice.maximum) {
        value = std::min<long long>(value, *dice.maximum);
    }
    return value;
}

bool CanExplode(const DiceTerm& dice) {
    return dice.explode && FirstFaces(dice).back() > 0.0L;
}

}  // namespace

Chance DieLaw::chanceOf(long long value) const {
    return value < lowest || value > highest() ? 0.0L
                                               : chance[static_cast<std::size_t>(value - lowest)];
}

bool IsEndless(const DiceTerm& dice) {
    return CanExplode(dice) && !dice.maximum;
}

DieLaw DieLawOf(const DiceTerm& dice, Chance negligible, long long reach) {
    // The chances of the raw values, from the lowest face up: the face that
    // stands, and for an exploding die the sum of its chain.
    std::vector<Chance> raw = FirstFaces(dice);
    const int faces = FaceCount(dice);
    Chance beyond = 0.0L;
    if (CanExplode(dice)) {
        // The highest face F is rolled again and again: F + jF + r for r from
        // 1 to F - 1 has the chance of F first times F^-(j+1), and the chain
        // goes on past F + jF + F - 1 with that same chance.
        Chance level = raw.back();
        raw.back() = 0.0L;
        const long long limit =
            std::max<long long>(reach - dice.faceOffset, HighestThreshold(dice)) + 1;
        for (long long top = faces;; top += faces) {
            level /= faces;
            for (int r = 1; r < faces; ++r) {
                raw.push_back(level);
            }
            raw.push_back(0.0L);  // a multiple of F would have exploded again
            if (level <= negligible && top + faces >= limit) {
                raw.pop_back();
                beyond = level;
                break;
            }
        }
    }

    DieLaw law;
    const long long rawLowest = LowestFace(dice);
    const long long rawHighest = rawLowest + static_cast<long long>(raw.size()) - 1;
    law.lowest = static_cast<int>(Clamped(dice, rawLowest));
    law.chance.assign(static_cast<std::size_t>(Clamped(dice, rawHighest) - law.lowest + 1), 0.0L);
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const long long value = Clamped(dice, rawLowest + static_cast<long long>(i));
        law.chance[static_cast<std::size_t>(value - law.lowest)] += raw[i];
    }
    if (dice.maximum) {
        // The values past the chain are all above the max.
        law.chance.back() += beyond;
        beyond = 0.0L;
    }
    law.endless = beyond > 0.0L;
    law.beyond = beyond;
    assert(IsLaw(law));
    return law;
}

}  // namespace alearo::dice
