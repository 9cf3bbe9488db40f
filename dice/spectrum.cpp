// SPDX-License-Identifier: MIT
#include "dice/spectrum.h"

#include <cmath>

namespace alearo::dice {

namespace {

constexpr double kPi = 3.14159265358979323846;

struct RootTable {
    std::vector<Complex> roots;
    std::size_t length = 0;
};

}  // namespace

const std::vector<Complex>& RootsOfUnity(std::size_t length) {
    thread_local RootTable work;
    if (work.length == length) {
        return work.roots;
    }
    work.roots.assign(length, Complex());
    for (std::size_t j = 0; j < length; ++j) {
        if (2 * j > length) {
            work.roots[j] = std::conj(work.roots[length - j]);
            continue;
        }
        const double angle = -2.0 * kPi * static_cast<double>(j) / static_cast<double>(length);
        work.roots[j] = Complex(std::cos(angle), std::sin(angle));
    }
    work.length = length;
    return work.roots;
}

}  // namespace alearo::dice
