// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

namespace alearo::fairness {

struct FaceStatistics {
    double chiSquare = 0.0;
    int degreesOfFreedom = 0;
    double pValue = 0.0;
    // Pearson correlation of each face with the next one.
    double lag1Correlation = 0.0;
    int minFace = 0;
    int maxFace = 0;
};

// Goodness of fit of the faces against a fair die with this many sides, and
// their lag-1 serial correlation, from at least two faces. A face outside 1 to
// sides gives an infinite statistic and a p-value of 0.
FaceStatistics MeasureFaces(const std::vector<int>& faces, int sides);

}  // namespace alearo::fairness
