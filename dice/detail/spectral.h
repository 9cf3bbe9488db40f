// SPDX-License-Identifier: MIT
#pragma once

#include <complex>
#include <cstddef>
#include <vector>

#include "dice/chance.h"

// Generating functions evaluated at the roots of unity, and the transform
// that turns such values back into chances. Internal to the dice library.

namespace alearo::dice {

using Complex = std::complex<Chance>;

// The product without the checks for infinities and not-a-number that the
// operator of std::complex makes in every call: the values here are finite.
template <typename Real>
std::complex<Real> Times(std::complex<Real> a, std::complex<Real> b) {
    return std::complex<Real>(a.real() * b.real() - a.imag() * b.imag(),
                              a.real() * b.imag() + a.imag() * b.real());
}

// z to a whole power from 0 up, by repeated squaring (Knuth, TAOCP vol. 2,
// 4.6.3): std::pow would go
// through the logarithm and lose digits.
template <typename Real>
std::complex<Real> Power(std::complex<Real> z, int exponent) {
    std::complex<Real> result = 1;
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

// The same for a real number, where std::pow would take the slow road of
// the logarithm.
inline Chance Power(Chance x, int exponent) {
    Chance result = 1.0L;
    while (exponent > 0) {
        if ((exponent & 1) != 0) {
            result *= x;
        }
        exponent >>= 1;
        x *= x;
    }
    return result;
}

// The length from which the transform is fastest: even, at least `atLeast`,
// and a multiple of few small primes.
std::size_t TransformLength(std::size_t atLeast);

// exp(-2 pi i m / length) for m from 0 to length - 1. The tables of the last
// few lengths asked for are kept for the next call in the same thread.
const std::vector<Complex>& RootsOfUnity(std::size_t length);

// The sum of values[i] w^i at w = exp(-2 pi i k / length) for k from 0 to
// length / 2; values past the length wrap around.
std::vector<Complex> ForwardReal(const std::vector<Chance>& values, std::size_t length);

// The real sequence of `length` whose transform at k from 0 to length / 2 is
// `spectrum`; missing entries count as zero.
std::vector<Chance> InverseReal(const std::vector<Complex>& spectrum, std::size_t length);

}  // namespace alearo::dice
