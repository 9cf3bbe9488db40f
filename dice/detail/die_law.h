// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

#include "dice/chance.h"
#include "dice/expression.h"

// What one die of a term counts as once its reroll, explosion, offset, min and
// max have acted, before keeping and dropping. Internal to the dice library.

namespace alearo::dice {

struct DieLaw {
    int lowest = 1;
    std::vector<Chance> chance;  // chance[i] is that of the value lowest + i, 0 if it cannot be
    // An exploding die without a max has no highest value. Its chain is
    // followed until what is left is negligible; `beyond` is the chance of
    // the values past the last entry, all of them above every number the term
    // compares with.
    bool endless = false;
    Chance beyond = 0.0L;

    int highest() const { return lowest + static_cast<int>(chance.size()) - 1; }
    // The chance of `value`, 0 outside the entries.
    Chance chanceOf(long long value) const;
};

// The law whose entries reach `reach` at least, with `beyond` at most
// `negligible`.
DieLaw DieLawOf(const DiceTerm& dice, Chance negligible, long long reach);

// Whether a die of the term can come to a value however large.
bool IsEndless(const DiceTerm& dice);

}  // namespace alearo::dice
