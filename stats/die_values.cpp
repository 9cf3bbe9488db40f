// SPDX-License-Identifier: MIT
#include "stats/die_values.h"

#include <algorithm>

namespace alearo {

DieValues DieValuesOf(int sides, int eachModifier, bool raiseToOne) {
    DieValues die;
    die.lowest = 1 + eachModifier;
    int highest = sides + eachModifier;
    if (raiseToOne && die.lowest < 1) {
        die.lowest = 1;
        highest = std::max(highest, 1);
    }
    const int values = highest - die.lowest + 1;
    die.faceCounts.assign(static_cast<std::size_t>(values), 1);
    die.faceCounts[0] = sides - (values - 1);
    return die;
}

}  // namespace alearo
