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

    // A whole number from 0 to bound - 1 (1 <= bound < 2^32), each equally
    // likely: Lemire's multiply-and-reject, without the bias of a
    // remainder. Each draw of the engine gives two halves of 32 bits.
    std::uint32_t below(std::uint32_t bound) {
        std::uint64_t product = std::uint64_t{half()} * bound;
        auto low = static_cast<std::uint32_t>(product);
        if (low < bound) {
            // The low halves below 2^32 mod bound are thrown back.
            const std::uint32_t threshold = (0u - bound) % bound;
            while (low < threshold) {
                product = std::uint64_t{half()} * bound;
                low = static_cast<std::uint32_t>(product);
            }
        }
        return static_cast<std::uint32_t>(product >> 32);
    }

  private:
    std::uint32_t half() {
        if (m_spare) {
            m_spare = false;
            return static_cast<std::uint32_t>(m_draw >> 32);
        }
        m_draw = m_engine();
        m_spare = true;
        return static_cast<std::uint32_t>(m_draw);
    }

    std::mt19937_64 m_engine;
    std::uint64_t m_draw = 0;
    bool m_spare = false;
};

// The story of one die as it was rolled: what a reroll set aside, the face
// that stood and the faces its explosion added, what it counts as, and
// whether it was dropped or counted as a success.
struct DieRoll {
    std::vector<int> faces;     // the first face that stood, then each face its explosion added
    std::vector<int> rerolled;  // the face a reroll set aside, if any
    int value = 0;  // what the die counts as: its faces added, with any offset, then min and max
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
    // The opponent's roll after "vs", rolled after the roll's own dice.
    int opponentTotal = 0;
    std::vector<TermRoll> opponentTerms;
};

// Rolls every die of the expression, keeping the faces for a listing.
RollResult Roll(const Expression& expression, Generator& generator);

// The same into `result`, whose lists keep their room from one roll to the
// next: many rolls in a row need no new memory.
void Roll(const Expression& expression, Generator& generator, RollResult& result);

// The same roll's total alone, without a record of each die or the
// opponent's roll: the same draws give the same total as Roll.
int RollTotal(const Expression& expression, Generator& generator);

}  // namespace alearo::dice
