// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

#include "dice/expression.h"
#include "dice/support.h"

// What one die of a term can count as once its reroll, explosion, min and max
// have acted, before keeping and dropping. Internal to the dice library.

namespace alearo::dice {

struct DieLaw {
    int lowest = 1;
    std::vector<double> chance;  // chance[i] is that of the value lowest + i
    // An exploding die without a max has no highest value: the chance of the
    // values past the last entry, every one of them above every number the
    // term compares with.
    double beyond = 0.0;
    bool beyondMatches = false;  // whether those values meet the term's comparison

    int Highest() const { return lowest + static_cast<int>(chance.size()) - 1; }
};

// The law with `beyond` at most `negligible`.
DieLaw DieLawOf(const DiceTerm& dice, double negligible);

// Whether a die of the term can come to any value however large.
bool HasNoHighest(const DiceTerm& dice);

// The values one die can come to, up to `cap`.
Support DieSupportOf(const DiceTerm& dice, long long cap);

}  // namespace alearo::dice
