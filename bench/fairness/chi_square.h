// SPDX-License-Identifier: MIT
#pragma once

namespace alearo::fairness {

// The probability that a chi-square variable with this many degrees of freedom
// is at least the statistic: the p-value of a goodness-of-fit test.
double ChiSquareUpperTail(double statistic, int degreesOfFreedom);

}  // namespace alearo::fairness
