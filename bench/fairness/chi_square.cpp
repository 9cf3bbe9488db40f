#include "chi_square.h"

#include <cmath>
#include <limits>

namespace alearo::fairness {

namespace {

constexpr int kMaxIterations = 10000;
constexpr double kEpsilon = std::numeric_limits<double>::epsilon();
constexpr double kTiny = std::numeric_limits<double>::min() / kEpsilon;

// x^a e^-x / Gamma(a), the factor both expansions share, taken through logs so
// that large a does not overflow.
double Prefactor(double a, double x) {
    return std::exp(a * std::log(x) - x - std::lgamma(a));
}

// P(a, x) by its power series; converges quickly for x < a + 1.
double LowerBySeries(double a, double x) {
    double term = 1.0 / a;
    double sum = term;
    for (int n = 1; n <= kMaxIterations; ++n) {
        term *= x / (a + n);
        sum += term;
        if (std::fabs(term) < std::fabs(sum) * kEpsilon) {
            break;
        }
    }
    return sum * Prefactor(a, x);
}

// Q(a, x) by its continued fraction (modified Lentz); converges quickly for
// x >= a + 1, where subtracting the series from 1 would lose the small tail.
double UpperByContinuedFraction(double a, double x) {
    double b = x + 1.0 - a;
    double c = 1.0 / kTiny;
    double d = 1.0 / b;
    double fraction = d;
    for (int i = 1; i <= kMaxIterations; ++i) {
        const double an = -i * (i - a);
        b += 2.0;
        d = an * d + b;
        if (std::fabs(d) < kTiny) {
            d = kTiny;
        }
        c = b + an / c;
        if (std::fabs(c) < kTiny) {
            c = kTiny;
        }
        d = 1.0 / d;
        const double step = d * c;
        fraction *= step;
        if (std::fabs(step - 1.0) < kEpsilon) {
            break;
        }
    }
    return fraction * Prefactor(a, x);
}

}  // namespace

double RegularizedUpperGamma(double a, double x) {
    if (x <= 0.0) {
        return 1.0;
    }
    if (x < a + 1.0) {
        return 1.0 - LowerBySeries(a, x);
    }
    return UpperByContinuedFraction(a, x);
}

double ChiSquareUpperTail(double statistic, int degreesOfFreedom) {
    return RegularizedUpperGamma(degreesOfFreedom / 2.0, statistic / 2.0);
}

}  // namespace alearo::fairness
