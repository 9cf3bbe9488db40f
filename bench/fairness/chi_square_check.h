// SPDX-License-Identifier: MIT
#pragma once

#include <cstdio>

namespace alearo::fairness {

// Compares the chi-square upper tail against the critical values of the
// printed tables, one line per case. Returns false when any case is off.
bool CheckChiSquareUpperTail(std::FILE* out);

}  // namespace alearo::fairness
