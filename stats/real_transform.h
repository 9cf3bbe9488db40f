// SPDX-License-Identifier: MIT
#pragma once

#include <complex>
#include <cstddef>
#include <vector>

// Sequences of chances and their values at the roots of unity, where a sum
// of independent dice is a product.

namespace alearo {

using Complex = std::complex<double>;

// An even length of at least `atLeast` whose half, the size of the complex
// transform, has no prime factor above 5: the lengths it handles fastest.
std::size_t TransformLength(std::size_t atLeast);

// The generating function sum of values[i] x^i at x_k = exp(-2 pi i k / length)
// for k from 0 to length / 2; the others are their conjugates. Values past
// the length wrap around, as the roots see them.
std::vector<Complex> ForwardReal(const std::vector<double>& values, std::size_t length);

// The real sequence of `length` (even) whose transform at k from 0 to
// length / 2 is `spectrum`; missing entries count as zero.
std::vector<double> InverseReal(const std::vector<Complex>& spectrum, std::size_t length);

}  // namespace alearo
