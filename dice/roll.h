// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "dice/expression.h"

namespace alearo::dice {

// The random source of the rolls: a 64-bit Mersenne Twister.
class Generator {
  public:
    // Seeded from the system's entropy, so that two runs differ.
    Generator();
    // Seeded with `seed`, so that a run can be repeated exactly.
    explicit Generator(std::uint64_t seed);

    // A whole number from 0 to bound - 1 (bound >= 1), each equally likely:
    // Lemire's multiply-and-reject, without the bias of a remainder.
    std::uint64_t Below(std::uint64_t bound);

  private:
    std::mt19937_64 engine_;
};

struct DieRoll {
    std::vector<int> faces;     // the first face that stood, then each face its explosion added
    std::vector<int> rerolled;  // the faces a reroll set aside, in the order rolled
    int value = 0;              // what the die counts as: its faces added, then min and max
    bool dropped = false;
    bool success = false;  // whether the value meets the term's comparison, if it has one
};

struct TermRoll {
    std::vector<DieRoll> dice;  // empty for a number
    // The kept values added, or the kept dice that meet the comparison
    // counted, or the number itself; before the term's sign.
    int score = 0;
};

struct RollResult {
    int total = 0;
    std::vector<TermRoll> terms;  // one per term of the expression
};

// Rolls every die of the expression, keeping the faces for a listing.
RollResult Roll(const Expression& expression, Generator& generator);

// The same roll's total alone, without a record of each die: the same draws
// give the same total as Roll.
int RollTotal(const Expression& expression, Generator& generator);

}  // namespace alearo::dice
