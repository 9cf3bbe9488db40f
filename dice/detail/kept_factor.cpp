// SPDX-License-Identifier: MIT
#include "dice/detail/kept_factor.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstddef>
#include <limits>
#include <vector>

#include "dice/detail/spectral.h"

// Method: the order statistics of n independent dice (David & Nagaraja,
// "Order Statistics", 2003, ch. 2), split at the last kept die.
//
// Keep the k first, in the order of keeping, of n dice. Call t the slot (the
// value) of the last kept die and a < k the number of dice in slots before t:
// all a are kept, k - a of the dice showing t are, and no later die is. With
// G_t(x) the generating function of one die over the slots before t (score s
// as x^s), p_t the chance of t and L_t that of every later slot, the kept sum
// has the generating function
//
//   K(x) = sum over t and a of C(n, a) Q(t, a) x^((k - a) s_t) G_t(x)^a,
//   Q(t, a) = sum over j from 0 to n - k of C(n - a, j) L_t^j p_t^(n - a - j),
//
// j being the number of dice after t, at most the n - k that are not kept.
// Every term has coefficients of one sign, so at x = e^theta each is the
// chance, tilted, that the last kept die shows t with a dice before it. Only
// the terms of a non-negligible share are kept for a tilt, and at x = e^theta
// w^j the term of a shrinks with j as |G_t|^a, which summation by parts
// bounds: that decides how many frequencies the tilt needs.

namespace alearo::dice {

namespace {

constexpr Chance kNegligibleShare = 1e-32L;
const Chance kLogNegligibleShare = std::log(kNegligibleShare);
const Chance kLogCoarseShare = std::log(1e-20L);
// Terms that make up less than this share of the tilted law can be added up
// in double precision: their round-off, some 1e-16 of them, is below that of
// the rest.
constexpr Chance kMinorShare = 1e-6L;
constexpr Chance kNone = -std::numeric_limits<Chance>::infinity();

struct LogFactorials {
    std::vector<Chance> ln;

    explicit LogFactorials(int n) : ln(static_cast<std::size_t>(n) + 1, 0.0L) {
        for (int i = 2; i <= n; ++i) {
            ln[static_cast<std::size_t>(i)] =
                ln[static_cast<std::size_t>(i - 1)] + std::log(static_cast<Chance>(i));
        }
    }

    Chance choose(int n, int k) const {
        return ln[static_cast<std::size_t>(n)] - ln[static_cast<std::size_t>(k)] -
               ln[static_cast<std::size_t>(n - k)];
    }
};

// ln of the sum over j from 0 to min(d, n) of C(n, j) later^j here^(n - j),
// summed from its largest term outwards so that no term overflows or
// vanishes before the sum is known. The terms fall off on either side of the
// largest.
Chance LogSum(const LogFactorials& factorials, int n, int d, Chance here, Chance later) {
    if (!(here > 0.0L)) {
        return n <= d && later > 0.0L ? n * std::log(later) : (n == 0 ? 0.0L : kNone);
    }
    if (!(later > 0.0L)) {
        return n * std::log(here);
    }
    const int last = std::min(d, n);
    const Chance ratio = later / here;
    const int peak = std::clamp(static_cast<int>((n + 1) * (later / (later + here))), 0, last);
    const Chance lnPeak =
        factorials.choose(n, peak) + peak * std::log(later) + (n - peak) * std::log(here);
    Chance sum = 1.0L;
    Chance term = 1.0L;
    for (int j = peak; j < last && term > 1e-22L * sum; ++j) {
        term *= static_cast<Chance>(n - j) / (j + 1) * ratio;
        sum += term;
    }
    term = 1.0L;
    for (int j = peak; j > 0 && term > 1e-22L * sum; --j) {
        term *= j / (static_cast<Chance>(n - j + 1) * ratio);
        sum += term;
    }
    return lnPeak + std::log(sum);
}

// ln E e^(theta S) of a tilted law.
[[maybe_unused]] Chance LogMoment(const Tilted& tilted, Chance theta) {
    return tilted.logMass + theta * static_cast<Chance>(tilted.reference);
}

// A tilt by e^(theta s), the scores counted from a reference.
struct TiltAt {
    Chance theta = 0.0L;
    long long reference = 0;

    Chance own(long long score) const { return theta * static_cast<Chance>(score - reference); }
};

// G_t at x = e^theta and its first two moments about the reference, over
// the slots before t, and the total variation of its coefficients.
struct Before {
    Chance mass = 0.0L;
    Chance moment1 = 0.0L;
    Chance moment2 = 0.0L;
    Chance variation = 0.0L;
};

// ln of a bound on every term of slot t.
struct SlotBound {
    std::size_t t = 0;
    Chance lean = kNone;  // ln G_t - theta d_t
    Chance bound = kNone;
};

// ln of the largest term of slot t, that of a.
struct Peak {
    std::size_t t = 0;
    std::size_t a = 0;
    Chance log = kNone;
    Chance lean = kNone;
};

// The place in the table of roots of w^(m j) for j = 0, 1, ...: a step of m
// each.
std::size_t RootStep(long long m, std::size_t length) {
    const auto n = static_cast<long long>(length);
    return static_cast<std::size_t>((m % n + n) % n);
}

void Advance(std::size_t& at, std::size_t step, std::size_t length) {
    at += step;
    at -= at >= length ? length : 0;
}

class KeptFactor final : public Factor {
  public:
    KeptFactor(const DieLaw& law, int dice, int kept, bool highest)
        : m_dice(dice), m_kept(kept), m_highest(highest), m_defeatsTilts(law.endless && !highest) {
        for (std::size_t i = 0; i < law.chance.size(); ++i) {
            if (law.chance[i] > 0.0L) {
                m_scores.push_back(law.lowest + static_cast<long long>(i));
                m_chance.push_back(law.chance[i]);
            }
        }
        if (highest) {
            std::reverse(m_scores.begin(), m_scores.end());
            std::reverse(m_chance.begin(), m_chance.end());
        }
        const std::size_t slots = m_scores.size();
        // The chance of every slot after t, and past the entries when those
        // come last in the order of keeping.
        std::vector<Chance>& later = m_later;
        later.assign(slots + 1, highest ? 0.0L : law.beyond);
        for (std::size_t t = slots; t-- > 0;) {
            later[t] = later[t + 1] + m_chance[t];
        }
        m_rows.resize(slots);
    }

    Tilted tilt(Chance theta) override {
        m_terms = weigh(theta, kLogNegligibleShare);
        return m_terms.tilted;
    }

    // For the bounds and aims that need the tilted law's size and moments
    // alone, the terms that change them in their 20th digit are enough.
    Tilted tiltedAt(Chance theta) const override { return weigh(theta, kLogCoarseShare).tilted; }

    // Towards the end the kept dice come from, e^(theta S) is at most the
    // sum of e^(theta (X_1 + ... + X_k)) over the C(n, k) sets of k dice:
    // the moment of k dice, times C(n, k), which is as heavy a tail as the
    // kept sum's, with no order statistics to weigh.
    Tilted boundAt(Chance theta) const override {
        if (!((theta > 0.0L) == m_highest && theta != 0.0L)) {
            return tiltedAt(theta);
        }
        Tilted bound = keptDice().tiltedAt(theta);
        bound.logMass += logsOf().factorials.choose(m_dice, m_kept);
        assert(LogMoment(bound, theta) >=
               LogMoment(tiltedAt(theta), theta) - 1e-12L * (1.0L + std::abs(bound.logMass)));
        return bound;
    }

    void spectrum(std::size_t length, std::size_t count,
                  std::vector<Complex>& values) const override;
    Chance logBound(std::size_t j, std::size_t length) const override;
    void prepareSpectrum(std::size_t length, Chance tolerance) override;

    long long lowest() const override {
        return m_kept * std::min(m_scores.front(), m_scores.back());
    }
    long long highest() const override {
        return m_kept * std::max(m_scores.front(), m_scores.back());
    }

    std::vector<Chance> law(std::size_t count, bool fromTop) const override;

    // Each slot takes each way of fewer than k kept dice (i of them, sums
    // over i times the range, or over as many as are asked for) on to the
    // k - i - 1 ways with more, and to the end.
    double lawWork(std::size_t count, bool fromTop) const override {
        const double k = m_kept;
        const double range = static_cast<double>(std::abs(m_scores.front() - m_scores.back()) + 1);
        const double sums = fromTop ? k * range : std::min(k * range, static_cast<double>(count));
        const long long lowest = std::min(m_scores.front(), m_scores.back());
        const auto slots = std::count_if(m_scores.begin(), m_scores.end(), [&](long long score) {
            return static_cast<double>(score - lowest) < sums;
        });
        return kNanosPerSum * (static_cast<double>(slots) * sums * (k / 4.0 + k * k / 12.0) + 1.0);
    }

    // Every slot from the first that counts adds to G_t at every frequency,
    // and those that count take their terms at the frequencies they need.
    // Before the first tilt, a slot of each score and no terms. Each step
    // is a product and a sum in the processor's registers, as quick as a
    // step of the sums.
    double spectrumWork(std::size_t /*length*/, std::size_t count) const override {
        const auto frequencies = static_cast<double>(count);
        if (m_terms.slots.empty()) {
            return kNanosPerSum * frequencies * static_cast<double>(m_scores.size());
        }
        double work = frequencies * static_cast<double>(m_terms.slots.back().slot -
                                                        m_terms.slots.front().slot + 1);
        for (const SlotTerms& slot : m_terms.slots) {
            work += static_cast<double>(std::min(count, slot.frequencies)) *
                    static_cast<double>(slot.share.size() + 2);
        }
        return kNanosPerSum * work;
    }

    // The lowest of exploding dice kept: a high total needs most dice high
    // at once, and past some tilt the tilted law leaps from one peak to
    // another, leaving the totals between to no tilt.
    bool defeatsTilts() const override { return m_defeatsTilts; }

    // Each slot's row of terms, in logarithms.
    double tiltWork() const override {
        return kNanosPerTerm * static_cast<double>(m_scores.size()) * (4.0 + m_kept);
    }

  private:
    // ln C(n, a) Q(t, a) for a from 0 to k - 1, worked out the first time
    // the slot counts.
    struct Row {
        std::vector<Chance> logTerm;
        std::vector<Chance> ratio;  // of each term to the one before, past the first
    };
    const Row& rowOf(std::size_t t) const;

    // The terms of one slot t kept for a tilt: those of a from `first` on.
    struct SlotTerms {
        std::size_t slot = 0;
        int first = 0;
        std::vector<Chance> share;    // of a = first, first + 1, ...
        Chance before = 0.0L;         // G_t at x = e^theta, over the die reference
        Chance variation = 0.0L;      // of the coefficients of G_t
        Chance shares = 0.0L;         // of all its terms
        std::size_t frequencies = 0;  // those its terms need
        // Below this size of y = G_t / (G_t at 1) the slot's terms, each at
        // most its share times |y|^a, are negligible.
        Chance leastY = 0.0L;
        // The shares in double precision, for a slot whose terms together
        // are so small a share that its round-off there is negligible too.
        std::vector<double> minorShare;
    };

    struct Terms {
        Tilted tilted;
        long long dieReference = 0;
        std::vector<Chance> weight;  // of each slot at x = e^theta
        std::vector<SlotTerms> slots;
    };

    Terms weigh(Chance theta, Chance logLeastShare) const;
    std::size_t topSlot(Chance theta) const;
    std::vector<Before> beforeEach(const std::vector<Chance>& weight, long long reference) const;
    std::vector<SlotBound> slotBounds(const TiltAt& at, Chance logTop,
                                      const std::vector<Before>& before) const;
    Peak peakOf(const SlotBound& slot, const TiltAt& at) const;
    std::vector<Peak> findPeaks(const std::vector<SlotBound>& bounds, const TiltAt& at,
                                Chance logLeastShare, Chance& largest) const;
    SlotTerms termsAround(const Peak& peak, Chance largest, Chance logLeastShare) const;
    Tilted normalised(std::vector<SlotTerms>& kept, const std::vector<Before>& before,
                      long long reference, Chance total) const;

    // The ways of fewer than k kept dice, and the entries of each row that
    // are not 0 so far: from `from` to `to`.
    struct Ways {
        explicit Ways(std::size_t k) : ways(k), from(k, 1), to(k, 0) {}
        std::vector<std::vector<Chance>> ways;
        std::vector<std::size_t> from;
        std::vector<std::size_t> to;
    };
    void takeSlot(std::size_t t, std::size_t step, std::size_t i, Ways& ways,
                  std::vector<Chance>& law, std::vector<Chance>& spread) const;

    // Where a slot's terms are in the table of roots of unity.
    struct SlotSteps {
        std::size_t length = 0;
        std::size_t own = 0;     // of w^(j d_t)
        std::size_t kept = 0;    // of w^(j k d_t)
        std::size_t needed = 0;  // the frequencies its terms need
    };
    std::vector<Complex> beforeFirst(const std::vector<Complex>& roots, std::size_t count) const;
    static void AddTerms(const SlotTerms& slot, const SlotSteps& steps,
                         const std::vector<Complex>& roots, const std::vector<Complex>& g,
                         std::vector<Complex>& values);
    static void AddMinorTerms(const SlotTerms& slot, const SlotSteps& steps,
                              const std::vector<Complex>& roots, const std::vector<Complex>& g,
                              std::vector<Complex>& values);

    int m_dice = 1;
    int m_kept = 1;
    bool m_highest = true;
    bool m_defeatsTilts = false;
    // k dice, all of them counted, made the first time a bound needs them.
    const Factor& keptDice() const {
        if (!m_keptDice) {
            const long long lowest = std::min(m_scores.front(), m_scores.back());
            std::vector<Chance> chance(
                static_cast<std::size_t>(std::abs(m_scores.back() - m_scores.front())) + 1, 0.0L);
            for (std::size_t t = 0; t < m_scores.size(); ++t) {
                chance[static_cast<std::size_t>(m_scores[t] - lowest)] = m_chance[t];
            }
            m_keptDice = PowerOf(lowest, chance, m_kept);
        }
        return *m_keptDice;
    }
    mutable std::unique_ptr<Factor> m_keptDice;
    std::vector<long long> m_scores;  // in the order of keeping
    std::vector<Chance> m_chance;
    std::vector<Chance> m_later;  // the chance of every slot after t, and past the entries
    // The logarithms the tilts weigh with, taken the first time a tilt
    // needs them: the sums, which small rolls take, never do.
    struct Logs {
        explicit Logs(const KeptFactor& factor);
        LogFactorials factorials;
        std::vector<Chance> chance;
        std::vector<Chance> rest;    // ln of the chance of the slot and every later one
        std::vector<Chance> choose;  // ln C(n, a)
        std::vector<Chance> stepUp;  // ln C(n, a + 1) - ln C(n, a)
    };
    const Logs& logsOf() const {
        if (!m_logs) {
            m_logs = std::make_unique<Logs>(*this);
        }
        return *m_logs;
    }
    mutable std::unique_ptr<Logs> m_logs;
    Chance m_negligible = 0.0L;  // the tolerance of the last prepareSpectrum()
    // Worked out on first use, from Weigh, which is const: a memo.
    mutable std::vector<Row> m_rows;
    Terms m_terms;
};

KeptFactor::Logs::Logs(const KeptFactor& factor) : factorials(factor.m_dice) {
    for (std::size_t t = 0; t < factor.m_chance.size(); ++t) {
        chance.push_back(std::log(factor.m_chance[t]));
        rest.push_back(std::log(factor.m_chance[t] + factor.m_later[t + 1]));
    }
    for (int a = 0; a < factor.m_kept; ++a) {
        choose.push_back(factorials.choose(factor.m_dice, a));
        stepUp.push_back(std::log(static_cast<Chance>(factor.m_dice - a) / (a + 1)));
    }
}

const KeptFactor::Row& KeptFactor::rowOf(std::size_t t) const {
    Row& row = m_rows[t];
    if (!row.logTerm.empty()) {
        return row;
    }
    const LogFactorials& factorials = logsOf().factorials;
    const auto k = static_cast<std::size_t>(m_kept);
    // With no slot before the first, only a = 0 can be.
    const std::size_t most = t == 0 ? 1 : k;
    row.logTerm.resize(most);
    row.ratio.assign(most, 0.0L);
    for (std::size_t a = 0; a < most; ++a) {
        row.logTerm[a] = factorials.choose(m_dice, static_cast<int>(a)) +
                         LogSum(factorials, m_dice - static_cast<int>(a), m_dice - m_kept,
                                m_chance[t], m_later[t + 1]);
        if (a > 0) {
            row.ratio[a] = std::exp(row.logTerm[a] - row.logTerm[a - 1]);
        }
    }
    return row;
}

// The slot whose tilted weight is the largest: the die's reference score.
std::size_t KeptFactor::topSlot(Chance theta) const {
    std::size_t top = 0;
    for (std::size_t u = 1; u < m_scores.size(); ++u) {
        if (logsOf().chance[u] + theta * static_cast<Chance>(m_scores[u] - m_scores[top]) >
            logsOf().chance[top]) {
            top = u;
        }
    }
    return top;
}

std::vector<Before> KeptFactor::beforeEach(const std::vector<Chance>& weight,
                                           long long reference) const {
    const std::size_t slots = m_scores.size();
    std::vector<Before> before(slots + 1);
    Chance variation = 0.0L;
    for (std::size_t t = 0; t < slots; ++t) {
        const Chance w = weight[t];
        const auto d = static_cast<Chance>(m_scores[t] - reference);
        const bool neighbour = t > 0 && std::abs(m_scores[t] - m_scores[t - 1]) == 1;
        variation += neighbour ? std::abs(w - weight[t - 1]) : w + (t > 0 ? weight[t - 1] : 0.0L);
        before[t + 1] = {before[t].mass + w, before[t].moment1 + d * w,
                         before[t].moment2 + d * d * w, variation + w};
    }
    return before;
}

// ln of the term of t and a is L(t, a) + a (ln G_t - theta d_t) + k theta
// d_t, d_t the score of t from the reference and L(t, a) = ln C(n, a)
// Q(t, a), concave in a. Q(t, a) is at most (p_t + L_t)^(n - a), which
// bounds each slot's terms without working out Q: the slots are taken
// from the largest bound down, until no bound reaches the terms found.
std::vector<SlotBound> KeptFactor::slotBounds(const TiltAt& at, Chance logTop,
                                              const std::vector<Before>& before) const {
    const Logs& logs = logsOf();
    const auto k = static_cast<std::size_t>(m_kept);
    std::vector<SlotBound> bounds(m_scores.size());
    for (std::size_t t = 0; t < bounds.size(); ++t) {
        SlotBound& slot = bounds[t];
        slot.t = t;
        const Chance own = at.own(m_scores[t]);
        if (before[t].mass > 0.0L) {
            slot.lean = std::log(before[t].mass) + logTop - own;
        }
        // ln C(n, a) + (n - a) ln rest + a lean is concave in a: its largest
        // is where its steps stop rising, found by halving.
        std::size_t low = 0;
        std::size_t high = slot.lean == kNone ? 0 : k - 1;
        while (low < high) {
            const std::size_t middle = (low + high) / 2;
            if (logs.stepUp[middle] - logs.rest[t] + slot.lean > 0.0L) {
                low = middle + 1;
            } else {
                high = middle;
            }
        }
        slot.bound =
            logs.choose[low] + static_cast<Chance>(m_dice - static_cast<int>(low)) * logs.rest[t] +
            (low > 0 ? static_cast<Chance>(low) * slot.lean : 0.0L) + static_cast<Chance>(k) * own;
    }
    return bounds;
}

// The largest term of a slot, by halving over a; its logarithm is kNone
// when the slot has no term.
Peak KeptFactor::peakOf(const SlotBound& slot, const TiltAt& at) const {
    const std::vector<Chance>& row = rowOf(slot.t).logTerm;
    const std::size_t most = slot.lean == kNone ? 1 : row.size();
    const auto term = [&](std::size_t a) {
        return row[a] + (a > 0 ? static_cast<Chance>(a) * slot.lean : 0.0L);
    };
    std::size_t low = 0;
    std::size_t high = most - 1;
    while (low < high) {
        const std::size_t middle = (low + high) / 2;
        if (term(middle + 1) > term(middle)) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    const Chance log = term(low) + static_cast<Chance>(m_kept) * at.own(m_scores[slot.t]);
    return {slot.t, low, log, slot.lean};
}

// The largest term of each slot whose bound reaches the largest term found
// so far, from the slot of the largest bound, in the order of the slots.
std::vector<Peak> KeptFactor::findPeaks(const std::vector<SlotBound>& bounds, const TiltAt& at,
                                        Chance logLeastShare, Chance& largest) const {
    std::size_t best = 0;
    for (std::size_t t = 0; t < bounds.size(); ++t) {
        best = bounds[t].bound > bounds[best].bound ? t : best;
    }
    std::vector<Peak> peaks;
    largest = kNone;
    const auto weighSlot = [&](const SlotBound& slot) {
        const Peak peak = peakOf(slot, at);
        if (peak.log != kNone) {
            peaks.push_back(peak);
            largest = std::max(largest, peak.log);
        }
    };
    if (bounds[best].bound != kNone) {
        weighSlot(bounds[best]);
    }
    for (const SlotBound& slot : bounds) {
        if (slot.t != best && slot.bound != kNone &&
            (largest == kNone || slot.bound >= largest + logLeastShare)) {
            weighSlot(slot);
        }
    }
    std::sort(peaks.begin(), peaks.end(), [](const Peak& x, const Peak& y) { return x.t < y.t; });
    return peaks;
}

// A slot's terms from its largest outwards, by the ratios of Q and G_t at
// e^theta, while they reach e^logLeastShare of the largest of all; their
// shares are of that largest.
KeptFactor::SlotTerms KeptFactor::termsAround(const Peak& peak, Chance largest,
                                              Chance logLeastShare) const {
    const Row& row = rowOf(peak.t);
    const Chance step = peak.lean == kNone ? 0.0L : std::exp(peak.lean);
    const Chance least = std::exp(logLeastShare);
    const Chance top = std::exp(peak.log - largest);
    std::vector<Chance> below;  // the terms under the largest, the nearest first
    std::size_t low = peak.a;
    for (Chance term = top; low > 0;) {
        term /= row.ratio[low] * step;
        if (!(term >= least)) {
            break;
        }
        below.push_back(term);
        --low;
    }
    SlotTerms slot;
    slot.slot = peak.t;
    slot.first = static_cast<int>(low);
    slot.share.assign(below.rbegin(), below.rend());
    slot.share.push_back(top);
    std::size_t high = peak.a;
    for (Chance term = top; high + 1 < row.logTerm.size() && peak.lean != kNone;) {
        term *= row.ratio[high + 1] * step;
        if (!(term >= least)) {
            break;
        }
        slot.share.push_back(term);
        ++high;
    }
    for (const Chance share : slot.share) {
        slot.shares += share;
    }
    return slot;
}

// The kept terms' shares of the law, and the moments of the kept sum from
// those of G_t.
Tilted KeptFactor::normalised(std::vector<SlotTerms>& kept, const std::vector<Before>& before,
                              long long reference, Chance total) const {
    Chance first = 0.0L;
    Chance second = 0.0L;
    for (SlotTerms& slot : kept) {
        const Before& g = before[slot.slot];
        const Chance own = static_cast<Chance>(m_scores[slot.slot] - reference);
        const Chance mean = g.mass > 0.0L ? g.moment1 / g.mass : 0.0L;
        const Chance spread = g.mass > 0.0L ? g.moment2 / g.mass - mean * mean : 0.0L;
        slot.shares /= total;
        for (std::size_t i = 0; i < slot.share.size(); ++i) {
            Chance& share = slot.share[i];
            share /= total;
            // d/dtheta of ln of the term, and its second derivative.
            const auto a = static_cast<Chance>(slot.first + static_cast<int>(i));
            const Chance d1 = a * mean + (static_cast<Chance>(m_kept) - a) * own;
            first += share * d1;
            second += share * (d1 * d1 + a * spread);
        }
        slot.before = g.mass;
        slot.variation = g.variation;
    }
    Tilted tilted;
    tilted.reference = m_kept * reference;
    tilted.mean = static_cast<Chance>(m_kept * reference) + first;
    tilted.variance = std::max(0.0L, second - first * first);
    return tilted;
}

KeptFactor::Terms KeptFactor::weigh(Chance theta, Chance logLeastShare) const {
    Terms terms;
    const std::size_t top = topSlot(theta);
    const long long reference = m_scores[top];
    terms.dieReference = reference;
    terms.weight = TiltedWeights(m_scores, m_chance, theta, top);
    const TiltAt at{theta, reference};
    const std::vector<Before> before = beforeEach(terms.weight, reference);
    const std::vector<SlotBound> bounds = slotBounds(at, logsOf().chance[top], before);
    Chance largest = kNone;
    const std::vector<Peak> peaks = findPeaks(bounds, at, logLeastShare, largest);
    Chance total = 0.0L;
    for (const Peak& peak : peaks) {
        if (peak.log - largest < logLeastShare) {
            continue;
        }
        terms.slots.push_back(termsAround(peak, largest, logLeastShare));
        total += terms.slots.back().shares;
    }
    const Chance logMass = largest + std::log(total);
    terms.tilted = normalised(terms.slots, before, reference, total);
    terms.tilted.logMass = logMass;
    return terms;
}

// Slot by slot in the order of keeping: ways[i][u] is the chance that i < k
// dice, all kept, show the slots so far and add up to u above i times the
// lowest score, while the other dice show later slots. A slot taking c more
// dice either leaves fewer than k (the ways go on) or completes the kept
// dice, the rest falling in later slots.
std::vector<Chance> KeptFactor::law(std::size_t count, bool fromTop) const {
    const long long lowest = std::min(m_scores.front(), m_scores.back());
    const auto range = static_cast<std::size_t>(std::abs(m_scores.front() - m_scores.back()));
    const auto k = static_cast<std::size_t>(m_kept);
    // The sums only grow as dice join: past the ones asked for, none counts.
    const std::size_t cap = fromTop ? k * range + 1 : std::min(k * range + 1, count);
    Ways ways(k);
    for (std::size_t i = 0; i < k; ++i) {
        ways.ways[i].assign(std::min(i * range + 1, cap), 0.0L);
    }
    ways.ways[0][0] = 1.0L;
    ways.from[0] = ways.to[0] = 0;
    std::vector<Chance> law(cap, 0.0L);
    std::vector<Chance> spread(static_cast<std::size_t>(m_dice) + 1);
    for (std::size_t t = 0; t < m_scores.size(); ++t) {
        const auto step = static_cast<std::size_t>(m_scores[t] - lowest);
        if (step >= cap) {
            // A die kept here puts the sum past those asked for, whatever
            // the others show: no way of those counts.
            continue;
        }
        for (std::size_t i = k; i-- > 0;) {
            if (ways.from[i] <= ways.to[i]) {
                takeSlot(t, step, i, ways, law, spread);
            }
        }
    }
    if (fromTop) {
        law.erase(law.begin(),
                  law.end() - static_cast<std::ptrdiff_t>(std::min(count, law.size())));
    }
    return law;
}

// The ways of i dice so far with c more in slot t: on to the ways of i + c
// while fewer than k, and to the law once they complete the kept dice.
// `spread` is scratch room for C(n - i, c) p^c.
void KeptFactor::takeSlot(std::size_t t, std::size_t step, std::size_t i, Ways& ways,
                          std::vector<Chance>& law, std::vector<Chance>& spread) const {
    const auto k = static_cast<std::size_t>(m_kept);
    const auto n = static_cast<std::size_t>(m_dice);
    const std::size_t cap = law.size();
    const Chance p = m_chance[t];
    Chance term = 1.0L;
    for (std::size_t c = 0; c <= n - i; ++c) {
        spread[c] = term;
        term *= p * static_cast<Chance>(n - i - c) / static_cast<Chance>(c + 1);
    }
    // The chance of c more dice here and all others later, c from k - i up:
    // these complete the kept dice.
    Chance complete = 0.0L;
    Chance others = 1.0L;  // later^(n - i - c)
    for (std::size_t c = n - i + 1; c-- > k - i; others *= m_later[t + 1]) {
        complete += spread[c] * others;
    }
    const std::size_t from = ways.from[i];
    const std::size_t to = ways.to[i];
    const Chance* source = ways.ways[i].data();
    for (std::size_t u = from; u <= to && u + (k - i) * step < cap; ++u) {
        law[u + (k - i) * step] += source[u] * complete;
    }
    for (std::size_t c = 1; i + c < k && from + c * step < cap; ++c) {
        std::vector<Chance>& target = ways.ways[i + c];
        const Chance factor = spread[c];
        const std::size_t high = std::min(to + c * step, target.size() - 1);
        for (std::size_t u = from; u + c * step <= high; ++u) {
            target[u + c * step] += source[u] * factor;
        }
        const std::size_t low = from + c * step;
        const bool empty = ways.from[i + c] > ways.to[i + c];
        ways.from[i + c] = empty ? low : std::min(ways.from[i + c], low);
        ways.to[i + c] = empty ? high : std::max(ways.to[i + c], high);
    }
}

// G_t at x = e^theta w^j, for the slots before the first slot that counts:
// root by root while those are few, else by one transform.
std::vector<Complex> KeptFactor::beforeFirst(const std::vector<Complex>& roots,
                                             std::size_t count) const {
    const std::size_t length = roots.size();
    std::vector<Complex> g(count);
    const std::size_t start = m_terms.slots.front().slot;
    if (start * count <= 8 * length) {
        for (std::size_t u = 0; u < start; ++u) {
            const std::size_t step = RootStep(m_scores[u] - m_terms.dieReference, length);
            for (std::size_t j = 0, at = 0; j < count; ++j, Advance(at, step, length)) {
                g[j] += m_terms.weight[u] * roots[at];
            }
        }
        return g;
    }
    std::vector<Chance> folded(length, 0.0L);
    for (std::size_t u = 0; u < start; ++u) {
        folded[RootStep(m_scores[u] - m_terms.dieReference, length)] += m_terms.weight[u];
    }
    const std::vector<Complex> transform = ForwardReal(folded, length);
    std::copy(transform.begin(), transform.begin() + static_cast<std::ptrdiff_t>(count), g.begin());
    return g;
}

void KeptFactor::spectrum(std::size_t length, std::size_t count,
                          std::vector<Complex>& values) const {
    values.assign(count, Complex());
    if (m_terms.slots.empty()) {
        return;
    }
    const std::vector<Complex>& roots = RootsOfUnity(length);
    std::vector<Complex> g = beforeFirst(roots, count);
    std::size_t next = 0;
    const std::size_t last = m_terms.slots.back().slot;
    for (std::size_t t = m_terms.slots.front().slot; t <= last; ++t) {
        const long long own = m_scores[t] - m_terms.dieReference;
        const std::size_t ownStep = RootStep(own, length);
        if (m_terms.slots[next].slot == t) {
            const SlotTerms& slot = m_terms.slots[next++];
            const SlotSteps steps{length, ownStep, RootStep(own * m_kept, length),
                                  std::min(count, slot.frequencies)};
            if (!slot.minorShare.empty()) {
                AddMinorTerms(slot, steps, roots, g, values);
            } else {
                AddTerms(slot, steps, roots, g, values);
            }
        }
        for (std::size_t j = 0, at = 0; j < count; ++j, Advance(at, ownStep, length)) {
            g[j] += m_terms.weight[t] * roots[at];
        }
    }
}

// A slot's terms at each frequency it needs: y = G_t / (G_t at 1) over x^s_t,
// each a adding one more y, by Horner's rule.
void KeptFactor::AddTerms(const SlotTerms& slot, const SlotSteps& steps,
                          const std::vector<Complex>& roots, const std::vector<Complex>& g,
                          std::vector<Complex>& values) {
    for (std::size_t j = 0, at = 0, keptAt = 0; j < steps.needed;
         ++j, Advance(at, steps.own, steps.length), Advance(keptAt, steps.kept, steps.length)) {
        Complex sum = slot.share.back();
        if (slot.before > 0.0L) {
            const Complex y = Times(g[j] / slot.before, std::conj(roots[at]));
            if (std::norm(y) < slot.leastY * slot.leastY) {
                continue;
            }
            for (std::size_t a = slot.share.size() - 1; a-- > 0;) {
                sum = Times(sum, y) + slot.share[a];
            }
            sum = Times(sum, Power(y, slot.first));
        }
        values[j] += Times(sum, roots[keptAt]);
    }
}

// The same in double precision, for a slot of a minor share.
void KeptFactor::AddMinorTerms(const SlotTerms& slot, const SlotSteps& steps,
                               const std::vector<Complex>& roots, const std::vector<Complex>& g,
                               std::vector<Complex>& values) {
    for (std::size_t j = 0, at = 0, keptAt = 0; j < steps.needed;
         ++j, Advance(at, steps.own, steps.length), Advance(keptAt, steps.kept, steps.length)) {
        const Complex exact = Times(g[j] / slot.before, std::conj(roots[at]));
        if (std::norm(exact) < slot.leastY * slot.leastY) {
            continue;
        }
        const std::complex<double> y(static_cast<double>(exact.real()),
                                     static_cast<double>(exact.imag()));
        std::complex<double> sum = slot.minorShare.back();
        for (std::size_t a = slot.minorShare.size() - 1; a-- > 0;) {
            sum = Times(sum, y) + slot.minorShare[a];
        }
        sum = Times(sum, Power(y, slot.first));
        values[j] += Times(Complex(sum.real(), sum.imag()), roots[keptAt]);
    }
}

// Each slot's terms are at most their shares times a bound on |y|^a, y =
// G_t / (G_t at 1).
Chance KeptFactor::logBound(std::size_t j, std::size_t length) const {
    Chance sum = 0.0L;
    for (const SlotTerms& slot : m_terms.slots) {
        // A slot of a negligible share changes no total by more than its
        // share, whatever frequencies are left out.
        if (slot.shares < m_negligible) {
            continue;
        }
        const Chance y = VariationBound(slot.variation, slot.before, j, length);
        Chance power = Power(y, slot.first);
        for (const Chance share : slot.share) {
            sum += share * power;
            power *= y;
        }
    }
    return std::log(sum);
}

void KeptFactor::prepareSpectrum(std::size_t length, Chance tolerance) {
    constexpr Chance kPi = 3.141592653589793238462643383279502884L;
    m_negligible = tolerance;
    const Chance share =
        tolerance / static_cast<Chance>(std::max<std::size_t>(1, m_terms.slots.size()));
    for (SlotTerms& slot : m_terms.slots) {
        // The least |y| that still counts, and the frequency past which the
        // bound on |y| stays below it: for each term, its share of the
        // tolerance over its share of the law, to the power 1 / a.
        const auto band = static_cast<Chance>(slot.share.size());
        slot.leastY = 1.0L;
        for (std::size_t i = 0; i < slot.share.size(); ++i) {
            const int a = slot.first + static_cast<int>(i);
            const Chance ratio = share / (band * slot.share[i]);
            slot.leastY = std::min(slot.leastY, ratio >= 1.0L ? 1.0L
                                                : a == 0      ? 0.0L
                                                              : std::exp(std::log(ratio) / a));
        }
        const Chance sine = slot.before > 0.0L && slot.leastY > 0.0L
                                ? slot.variation / (2.0L * slot.before * slot.leastY)
                                : 2.0L;
        slot.frequencies = sine < 1.0L ? static_cast<std::size_t>(std::ceil(
                                             static_cast<Chance>(length) / kPi * std::asin(sine))) +
                                             1
                                       : length / 2 + 1;
        slot.minorShare.clear();
        if (slot.shares < kMinorShare && slot.before > 0.0L) {
            slot.minorShare.assign(slot.share.begin(), slot.share.end());
        }
    }
}

// The sum over j < n of C(n, j) later^j here^(n - j), term by term in the
// ratio of the smaller of the two to the larger, so that no term overflows
// and the power taken out underflows only where the sum is below any
// chance a long double holds.
Chance KeptOneChance(int n, Chance here, Chance later) {
    const bool hereLarger = !(later > here);
    const Chance ratio = hereLarger ? later / here : here / later;
    // The terms of j from 0 to n - 1 where here is the larger, else those of
    // m = n - j from 1 to n, each C(n, i) ratio^i.
    const int first = hereLarger ? 0 : 1;
    const int last = hereLarger ? n - 1 : n;
    Chance term = hereLarger ? 1.0L : static_cast<Chance>(n) * ratio;
    Chance sum = term;
    for (int i = first; i < last; ++i) {
        term *= ratio * static_cast<Chance>(n - i) / static_cast<Chance>(i + 1);
        sum += term;
    }
    return Power(hereLarger ? here : later, n) * sum;
}

}  // namespace

// The one die kept shows v when no die comes before v in the order of
// keeping and at least one shows it: the sum over j < n of C(n, j) L^j
// p^(n - j), j dice after v, each term positive, rather than the
// difference of powers of the distribution function, F(v)^n - F(v - 1)^n,
// which loses the digits of the tail where both are near 1.
std::vector<Chance> KeptOneChances(const DieLaw& law, int dice, bool highest) {
    std::vector<Chance> chance(law.chance.size(), 0.0L);
    // The chance of every value after v in the order of keeping; past the
    // entries when those come last, as the highest values do for the
    // lowest kept.
    Chance later = highest ? 0.0L : law.beyond;
    for (std::size_t step = 0; step < chance.size(); ++step) {
        const std::size_t i = highest ? step : chance.size() - 1 - step;
        if (law.chance[i] > 0.0L) {
            chance[i] = KeptOneChance(dice, law.chance[i], later);
        }
        later += law.chance[i];
    }
    return chance;
}

std::unique_ptr<Factor> KeptSumOf(const DieLaw& law, int dice, int kept, bool highest) {
    return std::make_unique<KeptFactor>(law, dice, kept, highest);
}

}  // namespace alearo::dice
