// SPDX-License-Identifier: MIT
#include "chi_square_check.h"

#include <cmath>

#include "chi_square.h"

namespace alearo::fairness {

namespace {

struct CriticalValue {
    int degreesOfFreedom;
    double statistic;
    double tail;
};

// The 5% and 0.1% critical values of the usual tables, printed to three
// decimals; at that rounding the tail they give is good to about 1e-3 of itself.
constexpr CriticalValue kTable[] = {
    // 5%
    {1, 3.841, 0.05},
    {3, 7.815, 0.05},
    {5, 11.070, 0.05},
    {19, 30.144, 0.05},
    {99, 123.225, 0.05},
    // 0.1%
    {5, 20.515, 0.001},
    {99, 148.230, 0.001},
};
constexpr double kRelativeTolerance = 1e-3;

}  // namespace

bool CheckChiSquareUpperTail(std::FILE* out) {
    bool allGood = true;
    for (const CriticalValue& known : kTable) {
        const double got = ChiSquareUpperTail(known.statistic, known.degreesOfFreedom);
        const bool good = std::fabs(got - known.tail) <= kRelativeTolerance * known.tail;
        allGood = allGood && good;
        std::fprintf(out, "df %3d  x %8.3f  expected %.10f  got %.10f  %s\n",
                     known.degreesOfFreedom, known.statistic, known.tail, got, good ? "ok" : "OFF");
    }
    return allGood;
}

}  // namespace alearo::fairness
