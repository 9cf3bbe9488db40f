// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

// How far the sum of many dice can stray, so that its chances need only be
// computed over the window that holds all but a negligible part of them.
// Internal to the dice library.

namespace alearo::dice {

// `power` independent draws of a whole number u from 0 up, u with the chance
// (*chance)[u] (a sub-distribution is fine).
struct Draws {
    const std::vector<double>* chance = nullptr;
    int power = 1;
};

// A b such that the sum of all the draws is b or more with a chance of at
// most exp(-margin), by Chernoff's bound: for every lambda > 0 that chance is
// at most exp(L(lambda) - lambda b), L the log of the sum's moment generating
// function. Long lists are bounded bucket by bucket, each bucket's chance
// taken at its highest value, which only raises the bound.
double UpperEnd(const std::vector<Draws>& draws, double margin);

}  // namespace alearo::dice
