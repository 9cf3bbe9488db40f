// SPDX-License-Identifier: MIT
#include "dice/detail/factor.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <limits>
#include <utility>

namespace alearo::dice {

namespace {

constexpr Chance kPi = 3.141592653589793238462643383279502884L;

// Direct sums beat the transform while they take fewer steps than this many
// times the length.
constexpr std::size_t kDirectPerLength = 8;

}  // namespace

// Measured on the machines that build Alearo; only their ratios decide
// anything, never a result.
const double kNanosPerSum = 4.0;
const double kNanosPerTerm = 12.0;

namespace {

class PowerFactor final : public Factor {
  public:
    PowerFactor(long long lowest, const std::vector<Chance>& chance, int power) : m_power(power) {
        for (std::size_t i = 0; i < chance.size(); ++i) {
            if (chance[i] > 0.0L) {
                m_scores.push_back(lowest + static_cast<long long>(i));
                m_chance.push_back(chance[i]);
            }
        }
    }

    Tilted tilt(Chance theta) override {
        m_weighed = weigh(theta);
        return m_weighed.tilted;
    }

    Tilted tiltedAt(Chance theta) const override { return weigh(theta).tilted; }

    void spectrum(std::size_t length, std::size_t count,
                  std::vector<Complex>& values) const override {
        values.assign(count, Complex());
        if (count * m_scores.size() <= kDirectPerLength * length) {
            const std::vector<Complex>& roots = RootsOfUnity(length);
            const auto n = static_cast<long long>(length);
            for (std::size_t j = 0; j < count; ++j) {
                Complex sum;
                for (std::size_t i = 0; i < m_scores.size(); ++i) {
                    const long long m = ((m_scores[i] - m_weighed.reference) % n + n) % n;
                    sum += m_weighed.weight[i] *
                           roots[static_cast<std::size_t>(m * static_cast<long long>(j) % n)];
                }
                values[j] = Power(sum, m_power);
            }
            return;
        }
        std::vector<Chance> folded(length, 0.0L);
        const auto n = static_cast<long long>(length);
        for (std::size_t i = 0; i < m_scores.size(); ++i) {
            folded[static_cast<std::size_t>(((m_scores[i] - m_weighed.reference) % n + n) % n)] +=
                m_weighed.weight[i];
        }
        const std::vector<Complex> transform = ForwardReal(folded, length);
        for (std::size_t j = 0; j < count; ++j) {
            values[j] = Power(transform[j], m_power);
        }
    }

    Chance logBound(std::size_t j, std::size_t length) const override {
        return m_power * std::log(VariationBound(m_weighed.variation, 1.0L, j, length));
    }

    void prepareSpectrum(std::size_t /*length*/, Chance /*tolerance*/) override {}

    long long lowest() const override { return m_power * m_scores.front(); }
    long long highest() const override { return m_power * m_scores.back(); }

    std::vector<Chance> law(std::size_t count, bool fromTop) const override {
        std::vector<Chance> one(static_cast<std::size_t>(m_scores.back() - m_scores.front() + 1),
                                0.0L);
        for (std::size_t i = 0; i < m_scores.size(); ++i) {
            one[static_cast<std::size_t>(m_scores[i] - m_scores.front())] = m_chance[i];
        }
        if (fromTop) {
            std::reverse(one.begin(), one.end());
        }
        // By squaring: the power's law from those of the powers of two, none
        // further than the scores asked for.
        std::vector<Chance> law{1.0L};
        for (int p = m_power; p > 0; p >>= 1) {
            if ((p & 1) != 0) {
                law = Convolved(law, one, count);
            }
            if (p > 1) {
                one = Squared(one, count);
            }
        }
        if (fromTop) {
            std::reverse(law.begin(), law.end());
        }
        return law;
    }

    // The products of the squaring above, step by step.
    double lawWork(std::size_t count, bool /*fromTop*/) const override {
        const auto limit = static_cast<double>(count);
        double one = static_cast<double>(m_scores.back() - m_scores.front() + 1);
        double law = 1.0;
        double work = 0.0;
        for (int p = m_power; p > 0; p >>= 1) {
            if ((p & 1) != 0) {
                work += ConvolvedWork(law, one, limit);
                law = std::min(limit, law + one - 1.0);
            }
            if (p > 1) {
                work += 0.5 * ConvolvedWork(one, one, limit);
                one = std::min(limit, 2.0 * one - 1.0);
            }
        }
        return work;
    }

    double spectrumWork(std::size_t length, std::size_t count) const override {
        return PowerSpectrumWork(m_scores.size(), m_power, length, count);
    }

    double tiltWork() const override {
        return kNanosPerTerm * static_cast<double>(m_scores.size());
    }

  private:
    // The weights p(s) e^(theta (s - r)) over their sum, r the score of the
    // largest, and their total variation over the scores.
    struct Weighed {
        Tilted tilted;
        long long reference = 0;
        std::vector<Chance> weight;
        Chance variation = 0.0L;
    };

    // The logarithms of the chances, taken the first time a tilt needs them:
    // the sums, which most small rolls take, never do.
    const std::vector<Chance>& logChances() const {
        if (m_logChance.empty()) {
            for (const Chance chance : m_chance) {
                m_logChance.push_back(std::log(chance));
            }
        }
        return m_logChance;
    }

    Weighed weigh(Chance theta) const {
        Weighed weighed;
        std::vector<Chance>& weight = weighed.weight;
        const std::vector<Chance>& logChance = logChances();
        std::size_t top = 0;
        for (std::size_t i = 1; i < m_scores.size(); ++i) {
            if (logChance[i] + theta * static_cast<Chance>(m_scores[i] - m_scores[top]) >
                logChance[top]) {
                top = i;
            }
        }
        const long long reference = m_scores[top];
        weight = TiltedWeights(m_scores, m_chance, theta, top);
        Chance mass = 0.0L;
        Chance first = 0.0L;
        Chance second = 0.0L;
        for (std::size_t i = 0; i < m_scores.size(); ++i) {
            const auto d = static_cast<Chance>(m_scores[i] - reference);
            mass += weight[i];
            first += d * weight[i];
            second += d * d * weight[i];
        }
        Chance& variation = weighed.variation;
        for (std::size_t i = 0; i < weight.size(); ++i) {
            weight[i] /= mass;
            const bool afterNeighbour = i > 0 && m_scores[i - 1] + 1 == m_scores[i];
            variation += afterNeighbour ? std::abs(weight[i] - weight[i - 1]) : weight[i];
            const bool beforeNeighbour =
                i + 1 < weight.size() && m_scores[i] + 1 == m_scores[i + 1];
            variation += beforeNeighbour ? 0.0L : weight[i];
        }
        weighed.reference = reference;
        const Chance mean = first / mass;
        Tilted& tilted = weighed.tilted;
        tilted.reference = m_power * reference;
        tilted.logMass = m_power * (std::log(mass) + logChance[top]);
        tilted.mean = m_power * (static_cast<Chance>(reference) + mean);
        tilted.variance = m_power * std::max(0.0L, second / mass - mean * mean);
        return weighed;
    }

    int m_power = 1;
    std::vector<long long> m_scores;  // of positive chance, ascending
    std::vector<Chance> m_chance;
    mutable std::vector<Chance> m_logChance;
    Weighed m_weighed;
};

class NegatedFactor final : public Factor {
  public:
    explicit NegatedFactor(std::unique_ptr<Factor> factor) : m_factor(std::move(factor)) {}

    Tilted tilt(Chance theta) override { return Mirrored(m_factor->tilt(-theta)); }
    Tilted tiltedAt(Chance theta) const override { return Mirrored(m_factor->tiltedAt(-theta)); }
    Tilted boundAt(Chance theta) const override { return Mirrored(m_factor->boundAt(-theta)); }

    void spectrum(std::size_t length, std::size_t count,
                  std::vector<Complex>& values) const override {
        m_factor->spectrum(length, count, values);
        for (Complex& value : values) {
            value = std::conj(value);
        }
    }

    Chance logBound(std::size_t j, std::size_t length) const override {
        return m_factor->logBound(j, length);
    }

    void prepareSpectrum(std::size_t length, Chance tolerance) override {
        m_factor->prepareSpectrum(length, tolerance);
    }

    long long lowest() const override { return -m_factor->highest(); }
    long long highest() const override { return -m_factor->lowest(); }

    std::vector<Chance> law(std::size_t count, bool fromTop) const override {
        std::vector<Chance> law = m_factor->law(count, !fromTop);
        std::reverse(law.begin(), law.end());
        return law;
    }

    double lawWork(std::size_t count, bool fromTop) const override {
        return m_factor->lawWork(count, !fromTop);
    }

    double spectrumWork(std::size_t length, std::size_t count) const override {
        return m_factor->spectrumWork(length, count);
    }

    double tiltWork() const override { return m_factor->tiltWork(); }
    bool defeatsTilts() const override { return m_factor->defeatsTilts(); }

  private:
    static Tilted Mirrored(Tilted tilted) {
        tilted.reference = -tilted.reference;
        tilted.mean = -tilted.mean;
        return tilted;
    }

    std::unique_ptr<Factor> m_factor;
};

}  // namespace

std::unique_ptr<Factor> PowerOf(long long lowest, const std::vector<Chance>& chance, int power) {
    return std::make_unique<PowerFactor>(lowest, chance, power);
}

std::unique_ptr<Factor> Negated(std::unique_ptr<Factor> factor) {
    return std::make_unique<NegatedFactor>(std::move(factor));
}

// The exponentials step from the top outwards by products, each run of
// products started afresh from an exponential so that the round-off of the
// products stays far below the digits the chances keep.
std::vector<Chance> TiltedWeights(const std::vector<long long>& scores,
                                  const std::vector<Chance>& chance, Chance theta,
                                  std::size_t top) {
    constexpr std::size_t kFreshEvery = 32;
    constexpr Chance kVanishing = 1e-4000L;
    std::vector<Chance> weight(scores.size(), 0.0L);
    const Chance up = std::exp(theta);
    const Chance down = std::exp(-theta);
    // Scores a steady gap apart, as the explosions of dice are, step by one
    // product each too, e^(theta gap), made when the gap first comes.
    const auto walk = [&](std::size_t from, bool upwards) {
        Chance factor = 1.0L;  // e^(theta (s - r)) of the last entry
        long long score = scores[top];
        long long stepGap = 0;
        Chance step = 1.0L;
        for (std::size_t i = from, steps = 0; factor > kVanishing; ++steps) {
            const long long gap = scores[i] - score;
            const bool steady = gap == 1 || gap == -1 || gap == stepGap;
            if (steps % kFreshEvery == 0 || !steady) {
                factor = std::exp(theta * static_cast<Chance>(scores[i] - scores[top]));
                if (!steady) {
                    stepGap = gap;
                    step = std::exp(theta * static_cast<Chance>(gap));
                }
            } else {
                factor *= gap == 1 ? up : (gap == -1 ? down : step);
            }
            score = scores[i];
            weight[i] = chance[i] / chance[top] * factor;
            if (upwards ? ++i == scores.size() : i-- == 0) {
                break;
            }
        }
    };
    walk(top, true);
    if (top > 0) {
        walk(top - 1, false);
    }
    assert(weight[top] == 1.0L);
    assert(std::all_of(weight.begin(), weight.end(), [](Chance w) { return w <= 1.0L + 1e-12L; }));
    return weight;
}

std::vector<Chance> Convolved(const std::vector<Chance>& a, const std::vector<Chance>& b,
                              std::size_t count) {
    // Each entry of `a` that is not 0 adds a row as long as `b`: the rows
    // are those of the law that makes fewer steps so, as the explosions of
    // dice do, one value a period.
    const auto steps = [](const std::vector<Chance>& rows, const std::vector<Chance>& row) {
        return static_cast<std::size_t>(
                   std::count_if(rows.begin(), rows.end(), [](Chance c) { return c != 0.0L; })) *
               row.size();
    };
    if (steps(b, a) < steps(a, b)) {
        return Convolved(b, a, count);
    }
    std::vector<Chance> sum(std::min(count, a.size() + b.size() - 1), 0.0L);
    for (std::size_t i = 0; i < a.size() && i < sum.size(); ++i) {
        if (a[i] == 0.0L) {
            continue;
        }
        const std::size_t last = std::min(b.size(), sum.size() - i);
        for (std::size_t j = 0; j < last; ++j) {
            sum[i + j] += a[i] * b[j];
        }
    }
    return sum;
}

std::vector<Chance> Squared(const std::vector<Chance>& a, std::size_t count) {
    // Each product of two different entries twice, each entry's square once:
    // half the steps of a convolution.
    std::vector<Chance> sum(std::min(count, 2 * a.size() - 1), 0.0L);
    for (std::size_t i = 0; i < a.size() && 2 * i < sum.size(); ++i) {
        if (a[i] == 0.0L) {
            continue;
        }
        sum[2 * i] += a[i] * a[i];
        const Chance twice = 2.0L * a[i];
        const std::size_t last = std::min(a.size(), sum.size() - i);
        for (std::size_t j = i + 1; j < last; ++j) {
            sum[i + j] += twice * a[j];
        }
    }
    return sum;
}

double PowerSpectrumWork(std::size_t scores, int power, std::size_t length, std::size_t count) {
    const auto n = static_cast<double>(length);
    const double powers = static_cast<double>(count) * std::log2(power + 1.0);
    if (count * scores <= kDirectPerLength * length) {
        return kNanosPerTerm * (static_cast<double>(count * scores) + powers);
    }
    return kNanosPerTerm * (n * std::log2(n) + powers);
}

double ConvolvedWork(double a, double b, double count) {
    // Entry i of a meets min(b, count - i) entries of b.
    const double rows = std::min(a, count);
    const double full = std::clamp(count - b, 0.0, rows);  // rows that meet all of b
    const double rest = rows - full;
    const double shortRows = rest * (count - full) - rest * (rest - 1.0) / 2.0;
    return kNanosPerSum * (full * b + shortRows);
}

Chance VariationBound(Chance variation, Chance mass, std::size_t j, std::size_t length) {
    if (j == 0 || !(mass > 0.0L)) {
        return 1.0L;
    }
    const Chance sine = std::sin(kPi * static_cast<Chance>(j) / static_cast<Chance>(length));
    return std::min(1.0L, variation / (2.0L * mass * sine));
}

}  // namespace alearo::dice
