// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

namespace alearo {

// The values one die can show once its modifier and the floor of one are
// applied: value lowest + i comes up on faceCounts[i] of its faces. The values
// always form one unbroken range; only the lowest may come from several faces
// (the faces the floor raises to one).
struct DieValues {
    int lowest = 1;
    std::vector<int> faceCounts;
};

DieValues DieValuesOf(int sides, int eachModifier, bool raiseToOne);

}  // namespace alearo
