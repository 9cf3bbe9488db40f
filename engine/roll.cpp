// SPDX-License-Identifier: MIT
#include "engine/roll.h"

#include "engine/random_range.h"

namespace alearo {

std::optional<int> RollResult::droppedDie() const {
    if (droppedIndex < 0) {
        return std::nullopt;
    }
    return dice[static_cast<std::size_t>(droppedIndex)];
}

RollResult RollOnce(const RollSpec& spec) {
    RollResult result;
    result.dice.reserve(static_cast<std::size_t>(spec.dice > 0 ? spec.dice : 0));
    int sum = 0;
    int lowest = 0;
    for (int die = 0; die < spec.dice; ++die) {
        int value = RandomRange(1, spec.sides) + spec.eachModifier;
        if (spec.noRollsBelowOne && value < 1) {
            value = 1;
        }
        if (die == 0 || value < lowest) {
            lowest = value;
            result.droppedIndex = die;
        }
        result.dice.push_back(value);
        sum += value;
    }
    if (spec.dropsADie()) {
        sum -= lowest;
    } else {
        result.droppedIndex = -1;
    }
    result.total = sum + spec.totalModifier;
    return result;
}

std::vector<RollResult> RollDice(const RollSpec& spec, int rolls) {
    std::vector<RollResult> results;
    results.reserve(static_cast<std::size_t>(rolls > 0 ? rolls : 0));
    for (int k = 0; k < rolls; ++k) {
        results.push_back(RollOnce(spec));
    }
    return results;
}

}  // namespace alearo
