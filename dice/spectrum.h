// SPDX-License-Identifier: MIT
#pragma once

#include <complex>
#include <cstddef>
#include <vector>

// Sequences of chances and their values at the roots of unity: a sum of
// independent dice is a product there. Internal to the dice library.

namespace alearo::dice {

using Complex = std::complex<double>;

// An even length of at least `atLeast` whose half has no prime factor above 5,
// the lengths the transform handles fastest.
std::size_t TransformLength(std::size_t atLeast);

// The generating function sum of values[i] x^i at x_k = exp(-2 pi i k / length)
// for k from 0 to length / 2; the others are their conjugates. Values past
// the length wrap around, as the roots see them.
std::vector<Complex> ForwardReal(const std::vector<double>& values, std::size_t length);

// The real sequence of `length` (even) whose transform at k from 0 to
// length / 2 is `spectrum`; missing entries count as zero.
std::vector<double> InverseReal(const std::vector<Complex>& spectrum, std::size_t length);

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
