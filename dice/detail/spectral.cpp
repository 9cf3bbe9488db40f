// SPDX-License-Identifier: MIT
#include "dice/detail/spectral.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <memory>

#include <kissfft.hh>

namespace alearo::dice {

namespace {

constexpr Chance kPi = 3.141592653589793238462643383279502884L;

// Lengths of 2^a or 3 * 2^a: two to an octave keep the lengths few, so that
// their tables are built once and used by every tilt and every call.
bool IsTransformLength(std::size_t n) {
    while (n % 2 == 0) {
        n /= 2;
    }
    return n == 1 || n == 3;
}

Complex DirectRoot(std::size_t m, std::size_t n) {
    return std::polar(1.0L, -2.0L * kPi * static_cast<Chance>(m) / static_cast<Chance>(n));
}

// exp(-2 pi i a / n), its sine and cosine taken where they need no
// reduction of the angle (a <= n / 8) and the rest of the quarter turn
// following exactly: cos(pi/2 - x) = sin(x).
Complex RootInFirstQuarter(std::size_t a, std::size_t n) {
    const bool mirrored = 8 * a > n;
    const std::size_t b = mirrored ? n / 4 - a : a;
    const Chance angle = 2.0L * kPi * static_cast<Chance>(b) / static_cast<Chance>(n);
    const Chance cosine = std::cos(angle);
    const Chance sine = std::sin(angle);
    return mirrored ? Complex(sine, -cosine) : Complex(cosine, -sine);
}

// exp(-2 pi i m / n) for every m. Where n is a multiple of 4, the first
// quarter turn is the product of a coarse and a fine table, each of about
// the square root of its length, and the rest follows exactly by turning a
// quarter (multiplying by -i) and by conjugating the lower half: a few
// units of the last place each, against a sine and cosine of every root,
// which would make the tables of the largest sums a sizeable share of
// their time.
std::vector<Complex> RootTable(std::size_t n) {
    std::vector<Complex> roots(n);
    const bool quartered = n % 4 == 0;
    const std::size_t quarter = quartered ? n / 4 : n / 2;
    const auto fine = static_cast<std::size_t>(std::ceil(std::sqrt(static_cast<double>(quarter))));
    std::vector<Complex> fineRoots(fine);
    for (std::size_t b = 0; b < fine; ++b) {
        fineRoots[b] = quartered ? RootInFirstQuarter(b, n) : DirectRoot(b, n);
    }
    for (std::size_t m = 0; m <= quarter; m += fine) {
        const Complex coarse = quartered ? RootInFirstQuarter(m, n) : DirectRoot(m, n);
        for (std::size_t b = 0; b < fine && m + b <= quarter; ++b) {
            roots[m + b] = b == 0 ? coarse : Times(coarse, fineRoots[b]);
        }
    }
    for (std::size_t m = quarter + 1; m <= n / 2; ++m) {
        const Complex turned = roots[m - quarter];
        roots[m] = Complex(turned.imag(), -turned.real());
    }
    for (std::size_t m = n / 2 + 1; m < n; ++m) {
        roots[m] = std::conj(roots[n - m]);
    }
    return roots;
}

// What one length needs: the transform of half the length, which takes the
// real values two at a time, and the roots, made the first time they are
// asked for: most lengths never need them, and those of the largest sums
// take megabytes.
struct Plan {
    explicit Plan(std::size_t n) : length(n), transform(n / 2, false) {}

    const std::vector<Complex>& rootTable() {
        if (roots.empty()) {
            roots = RootTable(length);
        }
        return roots;
    }

    std::size_t length;
    kissfft<Chance> transform;
    std::vector<Complex> roots;
};

// The plans of the last lengths asked for, as many as hold together at most
// a few megabytes, so that the largest sums stay within their memory.
Plan& PlanOf(std::size_t length) {
    constexpr std::size_t kKeptPlans = 24;
    constexpr std::size_t kKeptLength = std::size_t{1} << 18;
    thread_local std::vector<std::unique_ptr<Plan>> plans;
    const auto found = std::find_if(plans.begin(), plans.end(),
                                    [length](const auto& plan) { return plan->length == length; });
    if (found != plans.end()) {
        std::rotate(plans.begin(), found, found + 1);
        return *plans.front();
    }
    plans.insert(plans.begin(), std::make_unique<Plan>(length));
    std::size_t kept = 0;
    const auto within = std::find_if(plans.begin(), plans.end(), [&kept](const auto& plan) {
        kept += plan->length;
        return kept > kKeptLength;
    });
    plans.erase(std::max(within, plans.begin() + 1), plans.end());
    if (plans.size() > kKeptPlans) {
        plans.pop_back();
    }
    return *plans.front();
}

// The library transforms 2N real values with a complex transform of N and
// packs the values at k = 0 and k = N, both real, into its first entry.
std::vector<Complex> RealTransform(const std::vector<Chance>& values) {
    const std::size_t half = values.size() / 2;
    std::vector<Complex> packed(half);
    PlanOf(values.size()).transform.transform_real(values.data(), packed.data());
    std::vector<Complex> spectrum(half + 1);
    spectrum[0] = packed[0].real();
    spectrum[half] = packed[0].imag();
    std::copy(packed.begin() + 1, packed.end(), spectrum.begin() + 1);
    return spectrum;
}

}  // namespace

std::size_t TransformLength(std::size_t atLeast) {
    std::size_t n = std::max<std::size_t>(atLeast, 4);
    while (!IsTransformLength(n)) {
        ++n;
    }
    assert(n % 2 == 0);
    return n;
}

const std::vector<Complex>& RootsOfUnity(std::size_t length) {
    return PlanOf(length).rootTable();
}

std::vector<Complex> ForwardReal(const std::vector<Chance>& values, std::size_t length) {
    std::vector<Chance> folded(length, 0.0L);
    for (std::size_t i = 0; i < values.size(); ++i) {
        folded[i % length] += values[i];
    }
    return RealTransform(folded);
}

// The real FFT run backwards through the Hartley transform (Bracewell, "The
// Hartley Transform", 1986), which is its own inverse and takes and gives
// real values, so that the forward real transform does the work.
std::vector<Chance> InverseReal(const std::vector<Complex>& spectrum, std::size_t length) {
    // The values at k and length - k are conjugate only for an even length.
    assert(length % 2 == 0);
    const std::size_t half = length / 2;
    std::vector<Chance> hartley(length, 0.0L);
    for (std::size_t k = 0; k < spectrum.size() && k <= half; ++k) {
        hartley[k] = spectrum[k].real() - spectrum[k].imag();
        if (k != 0 && k != half) {
            hartley[length - k] = spectrum[k].real() + spectrum[k].imag();
        }
    }
    const std::vector<Complex> transform = RealTransform(hartley);
    std::vector<Chance> values(length);
    const Chance scale = 1.0L / static_cast<Chance>(length);
    for (std::size_t n = 0; n <= half; ++n) {
        values[n] = (transform[n].real() - transform[n].imag()) * scale;
        if (n != 0 && n != half) {
            values[length - n] = (transform[n].real() + transform[n].imag()) * scale;
        }
    }
    return values;
}

}  // namespace alearo::dice
