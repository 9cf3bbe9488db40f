// SPDX-License-Identifier: MIT
#pragma once

namespace alearo {

// What one roll is: so many dice of so many sides, a modifier on each die and
// one on the total, and the two options that change how dice count.
//
// The numbers are as the player typed them, which a failed entry check may
// leave outside the form's ranges; the description shows them as they are,
// and a Roll or a chance is only computed for values inside the ranges.
struct RollSpec {
    int dice = 1;
    int sides = 6;
    int eachModifier = 0;
    int totalModifier = 0;
    bool noRollsBelowOne = false;  // a die below 1 after its modifier counts 1
    bool dropLowest = false;       // the option as set; see dropsADie()

    // The lowest die is thrown out only when there is another to keep.
    constexpr bool dropsADie() const { return dropLowest && dice >= 2; }

    // Equal when they roll alike: a drop that cannot happen makes no difference.
    friend constexpr bool operator==(const RollSpec& a, const RollSpec& b) {
        return a.dice == b.dice && a.sides == b.sides && a.eachModifier == b.eachModifier &&
               a.totalModifier == b.totalModifier && a.noRollsBelowOne == b.noRollsBelowOne &&
               a.dropsADie() == b.dropsADie();
    }
    friend constexpr bool operator!=(const RollSpec& a, const RollSpec& b) { return !(a == b); }
};

}  // namespace alearo
