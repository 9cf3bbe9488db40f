// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

// The chances of what the kept dice of a term come to, when only some of its
// dice are kept. Internal to the dice library.

namespace alearo::dice {

// A whole-number distribution: chance[i] is that of low + i.
struct Spread {
    long long low = 0;
    std::vector<double> chance;
};

// One value a die can show, in the order of keeping: the dice of the first
// slots are kept first. Its score is what a kept die adds: its value for a
// sum, 1 or 0 for a count of matching dice.
struct Slot {
    double chance = 0.0;
    int score = 0;
};

struct KeepProblem {
    std::vector<Slot> slots;
    // Chance of the values before the first slot and after the last whose
    // score is unknown (the end of an explosion's chain). Rolls that keep such
    // a die are left out.
    double unknownFirst = 0.0;
    double unknownLast = 0.0;
    int dice = 1;
    int kept = 1;
    // Scores that rise or fall by one from slot to slot, as a sum's do: the
    // generating function then shrinks at high frequencies by a known bound.
    bool consecutiveScores = false;
};

// The chance of each sum of the scores of the kept dice; the rolls left out
// make up at most dice * (unknownFirst + unknownLast).
Spread KeptScoreChances(const KeepProblem& problem);

// The chance of each number of successes among `dice` dice that each succeed
// with the chance `success` and fail with the chance `failure`; the two are
// given apart so that neither is 1 minus a rounded other.
Spread BinomialChances(int dice, double success, double failure);

}  // namespace alearo::dice
