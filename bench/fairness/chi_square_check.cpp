#include "chi_square_check.h"

#include <cmath>

#include "chi_square.h"

namespace alearo::fairness {

namespace {

struct KnownTail {
    int degreesOfFreedom;
    double statistic;
    double expected;
    double relativeTolerance;
};

// Small even and odd df have closed forms (2: e^(-x/2); 4: e^(-x/2)(1 + x/2);
// 1: erfc(sqrt(x/2))), each taken once on either side of x/2 = a + 1, where the
// series hands over to the continued fraction. The rest are the 5% and 0.1%
// critical values of the usual tables, which give three decimals.
KnownTail Closed(int df, double x) {
    double expected = 0.0;
    switch (df) {
        case 1:
            expected = std::erfc(std::sqrt(x / 2.0));
            break;
        case 2:
            expected = std::exp(-x / 2.0);
            break;
        default:
            expected = std::exp(-x / 2.0) * (1.0 + x / 2.0);
            break;
    }
    return {df, x, expected, 1e-12};
}

KnownTail Table(int df, double x, double p) {
    return {df, x, p, 1e-3};
}

}  // namespace

bool CheckChiSquareUpperTail(std::FILE* out) {
    const KnownTail cases[] = {
        Closed(1, 0.5),
        Closed(1, 10.0),
        Closed(2, 1.0),
        Closed(2, 20.0),
        Closed(4, 3.0),
        Closed(4, 30.0),
        Table(1, 3.841, 0.05),
        Table(3, 7.815, 0.05),
        Table(5, 11.070, 0.05),
        Table(19, 30.144, 0.05),
        Table(99, 123.225, 0.05),
        Table(5, 20.515, 0.001),
        Table(99, 148.230, 0.001),
    };
    bool allGood = true;
    for (const KnownTail& known : cases) {
        const double got = ChiSquareUpperTail(known.statistic, known.degreesOfFreedom);
        const bool good =
            std::fabs(got - known.expected) <= known.relativeTolerance * known.expected;
        allGood = allGood && good;
        std::fprintf(out, "df %3d  x %8.3f  expected %.10f  got %.10f  %s\n",
                     known.degreesOfFreedom, known.statistic, known.expected, got,
                     good ? "ok" : "OFF");
    }
    // A statistic equal to its df sits near the middle of the distribution,
    // a little above the median for large df.
    const double middle = ChiSquareUpperTail(99.0, 99);
    const bool middleGood = middle > 0.45 && middle < 0.5;
    allGood = allGood && middleGood;
    std::fprintf(out, "df  99  x   99.000  expected 0.45 to 0.5     got %.10f  %s\n", middle,
                 middleGood ? "ok" : "OFF");
    return allGood;
}

}  // namespace alearo::fairness
