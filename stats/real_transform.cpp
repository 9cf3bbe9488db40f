// SPDX-License-Identifier: MIT
#include "stats/real_transform.h"

#include <algorithm>

#include <kissfft.hh>

namespace alearo {

namespace {

bool HasOnlyFactors235(std::size_t n) {
    for (const std::size_t f : {2, 3, 5}) {
        while (n % f == 0) {
            n /= f;
        }
    }
    return n == 1;
}

// Kept from one call to the next in each thread: setting the transform up
// for a length costs more than many small transforms.
kissfft<double>& ThreadTransformer() {
    thread_local kissfft<double> transformer{2, false};
    return transformer;
}

// The library transforms 2N real values with a complex transform of N, and
// packs the values at k = 0 and k = N, both real, into its first entry.
std::vector<Complex> RealTransform(const std::vector<double>& values) {
    const std::size_t half = values.size() / 2;
    kissfft<double>& transformer = ThreadTransformer();
    transformer.assign(half, false);
    std::vector<Complex> packed(half);
    transformer.transform_real(values.data(), packed.data());
    std::vector<Complex> spectrum(half + 1);
    spectrum[0] = packed[0].real();
    spectrum[half] = packed[0].imag();
    std::copy(packed.begin() + 1, packed.end(), spectrum.begin() + 1);
    return spectrum;
}

}  // namespace

std::size_t TransformLength(std::size_t atLeast) {
    std::size_t half = std::max<std::size_t>((atLeast + 1) / 2, 1);
    while (!HasOnlyFactors235(half)) {
        ++half;
    }
    return 2 * half;
}

std::vector<Complex> ForwardReal(const std::vector<double>& values, std::size_t length) {
    std::vector<double> folded(length, 0.0);
    for (std::size_t i = 0; i < values.size(); ++i) {
        folded[i % length] += values[i];
    }
    return RealTransform(folded);
}

// Through the Hartley transform, which is its own inverse and takes and gives
// real values, so the forward real transform does the work.
std::vector<double> InverseReal(const std::vector<Complex>& spectrum, std::size_t length) {
    const std::size_t half = length / 2;
    std::vector<double> hartley(length, 0.0);
    for (std::size_t k = 0; k < spectrum.size() && k <= half; ++k) {
        hartley[k] = spectrum[k].real() - spectrum[k].imag();
        if (k != 0 && k != half) {
            hartley[length - k] = spectrum[k].real() + spectrum[k].imag();
        }
    }
    const std::vector<Complex> transform = RealTransform(hartley);
    std::vector<double> values(length);
    const double scale = 1.0 / static_cast<double>(length);
    for (std::size_t n = 0; n <= half; ++n) {
        values[n] = (transform[n].real() - transform[n].imag()) * scale;
        if (n != 0 && n != half) {
            values[length - n] = (transform[n].real() + transform[n].imag()) * scale;
        }
    }
    return values;
}

}  // namespace alearo
