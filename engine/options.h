// SPDX-License-Identifier: MIT
#pragma once

namespace alearo {

// The three options of the Settings menu.
struct Options {
    bool noInstantUpdate = false;  // the description waits for the next Roll or die choice
    bool noRollsBelowOne = false;  // no die counts below 1
    bool dropLowest = false;       // the lowest die of each roll is thrown out

    friend constexpr bool operator==(const Options& a, const Options& b) {
        return a.noInstantUpdate == b.noInstantUpdate && a.noRollsBelowOne == b.noRollsBelowOne &&
               a.dropLowest == b.dropLowest;
    }
};

}  // namespace alearo
