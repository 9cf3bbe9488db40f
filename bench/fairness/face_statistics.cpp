// SPDX-License-Identifier: MIT
#include "face_statistics.h"

#include <algorithm>
#include <cstddef>
#include <limits>

#include "chi_square.h"

namespace alearo::fairness {

namespace {

double ChiSquareAgainstUniform(const std::vector<int>& faces, int sides) {
    std::vector<long> counts(static_cast<std::size_t>(sides) + 1, 0);
    for (int face : faces) {
        ++counts[static_cast<std::size_t>(face)];
    }
    const double expected = static_cast<double>(faces.size()) / sides;
    double statistic = 0.0;
    for (int face = 1; face <= sides; ++face) {
        const double difference =
            static_cast<double>(counts[static_cast<std::size_t>(face)]) - expected;
        statistic += difference * difference / expected;
    }
    return statistic;
}

double Lag1Correlation(const std::vector<int>& faces) {
    double mean = 0.0;
    for (int face : faces) {
        mean += face;
    }
    mean /= static_cast<double>(faces.size());

    double products = 0.0;
    double squares = 0.0;
    for (std::size_t i = 0; i < faces.size(); ++i) {
        const double deviation = faces[i] - mean;
        squares += deviation * deviation;
        if (i + 1 < faces.size()) {
            products += deviation * (faces[i + 1] - mean);
        }
    }
    return products / squares;
}

}  // namespace

FaceStatistics MeasureFaces(const std::vector<int>& faces, int sides) {
    FaceStatistics result;
    const auto [lowest, highest] = std::minmax_element(faces.begin(), faces.end());
    result.minFace = *lowest;
    result.maxFace = *highest;
    result.degreesOfFreedom = sides - 1;
    result.lag1Correlation = Lag1Correlation(faces);
    if (result.minFace < 1 || result.maxFace > sides) {
        // A face the die does not have fails the fit outright.
        result.chiSquare = std::numeric_limits<double>::infinity();
        result.pValue = 0.0;
        return result;
    }
    result.chiSquare = ChiSquareAgainstUniform(faces, sides);
    result.pValue = ChiSquareUpperTail(result.chiSquare, result.degreesOfFreedom);
    return result;
}

}  // namespace alearo::fairness
