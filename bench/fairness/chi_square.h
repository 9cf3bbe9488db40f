#pragma once

namespace alearo::fairness {

// Q(a, x) = Gamma(a, x) / Gamma(a), the regularized upper incomplete gamma
// function, for a > 0 and x >= 0.
double RegularizedUpperGamma(double a, double x);

// The probability that a chi-square variable with this many degrees of freedom
// is at least the statistic: the p-value of a goodness-of-fit test.
double ChiSquareUpperTail(double statistic, int degreesOfFreedom);

}  // namespace alearo::fairness
