// SPDX-License-Identifier: MIT
#include "engine/checker.h"

#include <algorithm>

namespace alearo {

bool Matches(const Checker& checker, int total) {
    switch (checker.mode) {
        case CheckMode::kAtLeast:
            return total >= checker.target;
        case CheckMode::kAtMost:
            return total <= checker.target;
        case CheckMode::kEqual:
            return total == checker.target;
        case CheckMode::kNone:
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
