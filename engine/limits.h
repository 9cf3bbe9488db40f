// SPDX-License-Identifier: MIT
#pragma once

namespace alearo {

// The most rolls one Roll may store.
inline constexpr int kMaxResults = 100;

// The values a number box of the main window takes, ends included.
struct Range {
    int minimum;
    int maximum;

    constexpr bool contains(int value) const { return value >= minimum && value <= maximum; }
};

inline constexpr Range kRollsRange{1, kMaxResults};
inline constexpr Range kDiceRange{1, 100};
inline constexpr Range kModifierRange{-100, 100};  // both the each-die and the total modifier
inline constexpr Range kCheckTargetRange{0, 100};

}  // namespace alearo
