// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <vector>

#include "stats/real_transform.h"

// Arithmetic at the roots of unity for the dice library, beside the
// transforms of stats/real_transform.h. Internal to the dice library.

namespace alearo::dice {

// exp(-2 pi i j / length) for j from 0 to length - 1. The table of the last
// length asked for is kept for the next call in the same thread.
const std::vector<Complex>& RootsOfUnity(std::size_t length);

// The product of two complex numbers without the checks for infinities and
// not-a-number that the operator of std::complex makes in every call: the
// chances here are always finite.
inline Complex Times(Complex a, Complex b) {
    return Complex(a.real() * b.real() - a.imag() * b.imag(),
                   a.real() * b.imag() + a.imag() * b.real());
}

// z to a non-negative whole power, by repeated squaring: std::pow would go
// through the logarithm and lose digits.
inline Complex Power(Complex z, int exponent) {
    Complex result = 1.0;
    while (exponent > 0) {
        if ((exponent & 1) != 0) {
            result = Times(result, z);
        }
        exponent >>= 1;
        if (exponent > 0) {
            z = Times(z, z);
        }
    }
    return result;
}

}  // namespace alearo::dice
