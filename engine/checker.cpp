// SPDX-License-Identifier: MIT
#include "engine/checker.h"

#include <algorithm>

namespace alearo {

bool Matches(const Checker& checker, int total) {
    switch (checker.mode) {
        case CheckMode::AtLeast:
            return total >= checker.target;
        case CheckMode::AtMost:
            return total <= checker.target;
        case CheckMode::Equal:
            return total == checker.target;
        case CheckMode::None:
            break;
    }
    return false;
}

int CountMatches(const Checker& checker, const std::vector<RollResult>& results) {
    return static_cast<int>(std::count_if(results.begin(), results.end(), [&](const RollResult& r) {
        return Matches(checker, r.total);
    }));
}

}  // namespace alearo
