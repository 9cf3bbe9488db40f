// SPDX-License-Identifier: MIT
#include "chi_square.h"

#include <boost/math/distributions/chi_squared.hpp>

namespace alearo::fairness {

double ChiSquareUpperTail(double statistic, int degreesOfFreedom) {
    // The complement is computed directly, so a tiny tail keeps its digits
    // instead of vanishing in 1 - cdf.
    const boost::math::chi_squared distribution(degreesOfFreedom);
    return boost::math::cdf(boost::math::complement(distribution, statistic));
}

}  // namespace alearo::fairness
