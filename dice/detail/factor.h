// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "dice/chance.h"
#include "dice/detail/spectral.h"

// One part of a total that rolls independently of the others: a term of
// dice, or a term typed several times. Its chance of each score s is the
// coefficient of x^s of a generating function, which the sum of the parts
// (tilted_sum.h) asks for on a circle of radius e^theta: there the chances
// are tilted by e^(theta s), so that the scores near any total are the likely
// ones and their chances are resolved to all their digits. Internal to the
// dice library.

namespace alearo::dice {

// The tilted law of a part: its scores measured from `reference`, a likely
// score, so that the sums of the exponentials stay within range.
struct Tilted {
    long long reference = 0;
    Chance logMass = 0.0L;  // ln of the sum of p(s) e^(theta (s - reference))
    Chance mean = 0.0L;     // of the tilted law
    Chance variance = 0.0L;
};

class Factor {
  public:
    virtual ~Factor() = default;

    // The law tilted by e^(theta s), kept for the calls of Spectrum until the
    // next Tilt.
    virtual Tilted tilt(Chance theta) = 0;
    // The same, without changing what Spectrum uses.
    virtual Tilted tiltedAt(Chance theta) const = 0;
    // A law whose ln E e^(theta X) is at least this one's, and quicker to
    // weigh: all that Chernoff's bound on the tails needs, since a larger
    // moment only moves the bound out. The law itself unless a factor knows
    // better.
    virtual Tilted boundAt(Chance theta) const { return tiltedAt(theta); }

    // ln of a bound on the size of Spectrum's value at j (0 < j <= length /
    // 2), from summation by parts; it does not grow with j. The product of
    // the factors' values is negligible from the j where their bounds add up
    // to a negligible logarithm.
    virtual Chance logBound(std::size_t j, std::size_t length) const = 0;

    // Readies Spectrum for a transform of `length` whose values of at most
    // `tolerance` in size may be left out.
    virtual void prepareSpectrum(std::size_t length, Chance tolerance) = 0;

    // The tilted law's generating function over its value at x = 1, at
    // x = w^j for j from 0 to count - 1, w = exp(-2 pi i / length), with
    // the scores counted from the reference.
    virtual void spectrum(std::size_t length, std::size_t count,
                          std::vector<Complex>& values) const = 0;

    // The lowest and highest score the law gives a chance.
    virtual long long lowest() const = 0;
    virtual long long highest() const = 0;

    // The chances of `count` scores from lowest() up (from highest() down,
    // listed from the lowest of them, when `fromTop`), or of all of them, by
    // sums of products of chances alone; and about how many steps those
    // take. Scores past those asked for need no work.
    virtual std::vector<Chance> law(std::size_t count, bool fromTop) const = 0;

    // About how long, in nanoseconds, law(count, fromTop) takes, and one
    // call of Spectrum(length, count): the sum picks the cheaper way.
    virtual double lawWork(std::size_t count, bool fromTop) const = 0;
    virtual double spectrumWork(std::size_t length, std::size_t count) const = 0;
    // And one call of Tilt or TiltedAt.
    virtual double tiltWork() const = 0;

    // Whether some totals may lie where no tilt resolves them, so that the
    // sums are the better way unless they are very costly.
    virtual bool defeatsTilts() const { return false; }
};

// About how many nanoseconds one step of a sum of products of chances takes
// (vectorised, in long double), and one term of a spectrum (complex).
extern const double kNanosPerSum;
extern const double kNanosPerTerm;

// p(s) e^(theta (s - r)) / p(r) for each score s of `scores`, r the score of
// entry `top`: the weights of a law tilted by e^(theta s), the largest 1.
std::vector<Chance> TiltedWeights(const std::vector<long long>& scores,
                                  const std::vector<Chance>& chance, Chance theta, std::size_t top);

// The chances of the sums a + b of the first `count` at most, a from law a
// and b from law b, each listed from its lowest.
std::vector<Chance> Convolved(const std::vector<Chance>& a, const std::vector<Chance>& b,
                              std::size_t count);
// About how many nanoseconds the spectrum of PowerOf takes, for a law of
// `scores` scores.
double PowerSpectrumWork(std::size_t scores, int power, std::size_t length, std::size_t count);

// Convolved(a, a, count), in half the steps.
std::vector<Chance> Squared(const std::vector<Chance>& a, std::size_t count);

// About how many nanoseconds Convolved takes for laws of a and b entries.
double ConvolvedWork(double a, double b, double count);

// `power` independent draws from an explicit law: the dice of a term that
// keeps them all, or a count of successes, or a term typed again.
std::unique_ptr<Factor> PowerOf(long long lowest, const std::vector<Chance>& chance, int power);

// The factor of minus the score.
std::unique_ptr<Factor> Negated(std::unique_ptr<Factor> factor);

// Summation by parts (Abel summation) bounds |sum c_s z^s| by V / |1 - z|
// at z = w^j on the unit circle, V the total variation of the c_s (counted
// with the jumps from and to 0 at its ends). This is that bound, over the sum
// `mass` of the c_s and at most 1, at the frequency j of `length`.
Chance VariationBound(Chance variation, Chance mass, std::size_t j, std::size_t length);

}  // namespace alearo::dice
