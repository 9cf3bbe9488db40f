// SPDX-License-Identifier: MIT
#include "dice/detail/tilted_sum.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstddef>
#include <limits>
#include <optional>

namespace alearo::dice {

namespace {

// A tilted chance at least this share of the largest is resolved; the share
// is that of a normal law 3.7 standard deviations from its mean.
constexpr Chance kResolved = 1e-3L;
// The error of the transform in the long double arithmetic, relative to the
// largest tilted chance. It grows with the transform's length and the
// breadth of the tilted law: sums of tens of dice of 500 to 1000 faces were
// seen off by up to 4e-17 of it, against counts of every combination, so
// this leaves room to spare.
constexpr Chance kTransformError = 7e-17L;
// What the tails left out of a tilt's window, and the frequencies left out,
// may add to a resolved chance, relative to it.
constexpr Chance kNegligible = 1e-24L;
// The round-off of the logarithms and exponentials that weigh the dice and
// undo the tilt: a few thousand units of the last place at most.
constexpr Chance kRoundOff = 1e-16L;
constexpr Chance kLargestTilt = 200.0L;
// A law whose neighbouring chances lie many powers of ten apart, such as the
// odd and even totals of exploding d2 with a min, defeats the tilts: past
// this many the chances stay as resolved as they are, their error told.
constexpr int kMostTilts = 300;
// A law whose logarithm bends upwards somewhere, as the kept lowest of
// exploding dice do, has totals no tilt puts near its peak: the tilts are
// given up once this many in a row resolve nothing new.
constexpr int kMostFruitless = 6;
const Chance kCover = std::sqrt(-2.0L * std::log(kResolved));

struct SumTilt {
    Chance theta = 0.0L;
    long long reference = 0;
    Chance logMass = 0.0L;
    Chance mean = 0.0L;
    Chance variance = 0.0L;

    // ln of the mean of e^(theta S), the total S counted from 0.
    Chance logMoment() const { return logMass + theta * static_cast<Chance>(reference); }
};

SumTilt Combined(const Sum& sum, Chance theta, const std::vector<Tilted>& parts) {
    SumTilt tilt;
    tilt.theta = theta;
    tilt.reference = sum.constant;
    tilt.mean = static_cast<Chance>(sum.constant);
    for (const Tilted& part : parts) {
        tilt.reference += part.reference;
        tilt.logMass += part.logMass;
        tilt.mean += part.mean;
        tilt.variance += part.variance;
    }
    return tilt;
}

SumTilt TiltAll(Sum& sum, Chance theta) {
    std::vector<Tilted> parts;
    for (auto& factor : sum.factors) {
        parts.push_back(factor->tilt(theta));
    }
    return Combined(sum, theta, parts);
}

// Each factor weighed at theta by `weigh`, one of Factor's const ways.
SumTilt WeighedAt(const Sum& sum, Chance theta, Tilted (Factor::*weigh)(Chance) const) {
    std::vector<Tilted> parts;
    for (const auto& factor : sum.factors) {
        parts.push_back(((*factor).*weigh)(theta));
    }
    return Combined(sum, theta, parts);
}

SumTilt TiltedAt(const Sum& sum, Chance theta) {
    return WeighedAt(sum, theta, &Factor::tiltedAt);
}

// A sum whose moment at theta is at least that of `sum`, for Chernoff's
// bound on its tails.
SumTilt BoundAt(const Sum& sum, Chance theta) {
    return WeighedAt(sum, theta, &Factor::boundAt);
}

// A distance d from the tilted mean that the tilted total passes (upwards,
// or downwards) with a chance of at most `tail`, by Chernoff's bound tried
// at steps from the one that is best for a normal law down to those that suit
// the slower tails of exploding dice.
Chance ChernoffDistance(const Sum& sum, const SumTilt& tilt, Chance tail, bool upwards) {
    const Chance sigma = std::sqrt(std::max(tilt.variance, 1e-30L));
    const Chance margin = -std::log(tail);
    const Chance normal = std::sqrt(2.0L * margin) / sigma;
    Chance best = std::numeric_limits<Chance>::infinity();
    for (const Chance scale : {1.0L, 1.0L / 2, 1.0L / 8, 1.0L / 32}) {
        const Chance lambda = std::min(normal * scale, kLargestTilt);
        const Chance step = upwards ? lambda : -lambda;
        const SumTilt other = TiltedAt(sum, tilt.theta + step);
        const Chance logMoment = other.logMoment() - tilt.logMoment() - step * tilt.mean;
        best = std::min(best, (logMoment + margin) / lambda);
        // A tail about as light as a normal law's needs no further look.
        if (best <= 1.25L * std::sqrt(2.0L * margin) * sigma) {
            break;
        }
    }
    return best;
}

// What a sweep may spend, in nanoseconds: it gives up once it has spent
// `most`, or right after its first tilt, the costliest, when the tilts it
// is expected to take would cost more than `sums`, the other way.
struct SweepBudget {
    double most = std::numeric_limits<double>::infinity();
    double sums = std::numeric_limits<double>::infinity();
    double expectedTilts = 0.0;
};

class Sweep {
  public:
    // Gives up, returning nothing, once its budget is spent.
    Sweep(Sum& sum, const Support& possible, long long first, long long last,
          const SweepBudget& budget)
        : m_sum(sum),
          m_budget(budget),
          m_first(first),
          m_last(last),
          m_lowest(sum.lowest()),
          m_highest(sum.highest()),
          m_chance(static_cast<std::size_t>(last - first + 1), 0.0L),
          m_resolved(m_chance.size(), 0.0L),
          m_possible(m_chance.size()) {
        assert(first <= last);
        for (std::size_t i = 0; i < m_possible.size(); ++i) {
            m_possible[i] = possible.contains(first + static_cast<long long>(i));
        }
        for (const auto& factor : m_sum.factors) {
            m_tiltWork += factor->tiltWork();
        }
    }

    std::optional<SumChances> run() {
        const SumTilt centre = resolve(0.0L);
        if (overBudget()) {
            return std::nullopt;
        }
        const long long anchor =
            std::clamp(static_cast<long long>(std::llround(centre.mean)), m_first, m_last);
        sweepFrom(anchor, true, 0.0L);
        sweepFrom(anchor, false, 0.0L);
        // Totals far less likely than both neighbours can be left between
        // the tilts of the sweeps: each is aimed at on its own.
        for (long long s = m_first; s <= m_last && going(); ++s) {
            if (unresolved(s)) {
                resolve(aim(static_cast<Chance>(s), 0.0L, 0.0L));
            }
        }
        if (m_spent > m_budget.most) {
            return std::nullopt;
        }
        SumChances result;
        result.first = m_first;
        result.relativeError = errorOf(m_first, m_last);
        result.lowUnresolved = m_first - 1;
        result.highUnresolved = m_last + 1;
        for (long long s = m_first; s <= anchor; ++s) {
            result.lowUnresolved = unresolved(s) ? s : result.lowUnresolved;
        }
        for (long long s = m_last; s > anchor; --s) {
            result.highUnresolved = unresolved(s) ? s : result.highUnresolved;
        }
        result.errorBetween = errorOf(result.lowUnresolved + 1, result.highUnresolved - 1);
        result.chance = std::move(m_chance);
        return result;
    }

  private:
    // Relative to the true chance, which may lie below the computed one by
    // as much as the transform's error: the bound for the totals from
    // `from` to `to`.
    double errorOf(long long from, long long to) const {
        Chance worst = 1.0L;
        for (long long s = from; s <= to; ++s) {
            const auto i = static_cast<std::size_t>(s - m_first);
            worst = m_possible[i] ? std::min(worst, m_resolved[i]) : worst;
        }
        return worst > 2.0L * kTransformError
                   ? static_cast<double>(kTransformError / (worst - kTransformError) + kRoundOff)
                   : std::numeric_limits<double>::infinity();
    }

    SumTilt weighed(Chance theta) {
        m_spent += m_tiltWork;
        return TiltedAt(m_sum, theta);
    }

    // Past the budget, or, at the first tilt, bound to pass the sums: the
    // tilts after the first hold fewer totals each, about half as many.
    bool overBudget() const {
        constexpr double kLaterTiltShare = 0.5;
        return m_spent > m_budget.most ||
               (m_tilts == 1 && m_spent * kLaterTiltShare * m_budget.expectedTilts > m_budget.sums);
    }

    bool going() const {
        return m_tilts < kMostTilts && m_spent <= m_budget.most && m_fruitless < kMostFruitless;
    }

    bool unresolved(long long s) const {
        const auto i = static_cast<std::size_t>(s - m_first);
        return m_possible[i] && m_resolved[i] < kResolved;
    }

    // Tilts towards one end until every total on that side is resolved.
    // Each next tilt is read off the chances resolved so far: their slope at
    // the last resolved total, undone by the tilt, puts the tilted law's
    // peak there, and their curvature tells how far past it to lead.
    void sweepFrom(long long anchor, bool upwards, Chance theta) {
        const long long step = upwards ? 1 : -1;
        long long s = anchor;
        Chance lead = 0.5L;
        int misses = 0;
        // A side where the tilts come to nothing leaves the other its own
        // tries.
        m_fruitless = 0;
        while (going()) {
            while (s >= m_first && s <= m_last && !unresolved(s)) {
                s += step;
            }
            if (s < m_first || s > m_last) {
                return;
            }
            const std::optional<Chance> slope = slopeBefore(s, upwards, lead);
            theta = slope ? *slope : aim(static_cast<Chance>(s), upwards ? lead : -lead, theta);
            // Where the chances fall off no faster than exponentially, as past
            // exploding dice, the slope's tilt leaves the tilted law flat, its
            // mass at the far end of where the dice were followed: aim its
            // mean within the totals instead.
            const Chance mean = weighed(theta).mean;
            if (upwards ? mean > static_cast<Chance>(m_last)
                        : mean < static_cast<Chance>(m_first)) {
                theta = aim(static_cast<Chance>(s), upwards ? lead : -lead, theta);
            }
            resolve(theta);
            if (!unresolved(s)) {
                lead = 0.5L;
                misses = 0;
                continue;
            }
            lead -= 0.5L;
            if (++misses == 2) {
                // Newton's method on the tilted mean, for laws whose
                // chances bend too sharply to be read off.
                resolve(aim(static_cast<Chance>(s), 0.0L, theta));
            } else if (misses >= 4) {
                // Left for the pass over single totals.
                s += step;
                lead = 0.5L;
                misses = 0;
            }
        }
    }

    // The tilt that puts the tilted law's peak `lead` of its widths past the
    // last resolved total before `s`, from the logarithms of the chances of
    // resolved totals there; nothing without three such totals.
    std::optional<Chance> slopeBefore(long long s, bool upwards, Chance lead) const {
        const long long step = upwards ? -1 : 1;
        std::vector<long long> near;
        for (long long t = s + step; t >= m_first && t <= m_last && near.size() < 3; t += step) {
            const auto i = static_cast<std::size_t>(t - m_first);
            const long long gap = near.empty() ? 0 : std::abs(t - near.back());
            if (m_possible[i] && m_resolved[i] >= kResolved && m_chance[i] > 0.0L &&
                (near.empty() || gap >= m_spacing)) {
                near.push_back(t);
            }
        }
        if (near.size() < 3) {
            return std::nullopt;
        }
        const auto logOf = [&](long long t) {
            return std::log(m_chance[static_cast<std::size_t>(t - m_first)]);
        };
        const auto d1 = static_cast<Chance>(near[0] - near[1]);
        const auto d2 = static_cast<Chance>(near[1] - near[2]);
        const Chance slope = (logOf(near[0]) - logOf(near[1])) / d1;
        const Chance before = (logOf(near[1]) - logOf(near[2])) / d2;
        const Chance bend = (slope - before) / (0.5L * (d1 + d2));
        const Chance width = bend < 0.0L ? 1.0L / std::sqrt(-bend) : 1e6L;
        return -slope + (upwards ? lead : -lead) * kCover / std::max(width, 0.5L);
    }

    // The tilt whose mean lies `lead` of its standard deviations past
    // `target`, within the totals, by Newton's method kept within a bracket.
    Chance aim(Chance target, Chance lead, Chance theta) {
        Chance low = -kLargestTilt;
        Chance high = kLargestTilt;
        for (int i = 0; i < 60; ++i) {
            const SumTilt tilt = weighed(theta);
            const Chance sigma = std::sqrt(tilt.variance);
            const Chance aim =
                std::clamp(target + lead * kCover * sigma, static_cast<Chance>(m_first),
                           static_cast<Chance>(m_last));
            const Chance miss = tilt.mean - aim;
            if (std::abs(miss) <= 0.25L * std::max(sigma, 0.5L)) {
                break;
            }
            (miss < 0.0L ? low : high) = theta;
            Chance next = theta - miss / std::max(tilt.variance, 1e-12L);
            if (!(next > low && next < high)) {
                next = 0.5L * (low + high);
            }
            if (std::abs(next - theta) < 1e-12L) {
                break;
            }
            theta = next;
        }
        return theta;
    }

    // One tilt: the chances of the totals it resolves better than any
    // tilt before.
    SumTilt resolve(Chance theta) {
        ++m_tilts;
        m_spent += m_tiltWork;
        const SumTilt tilt = TiltAll(m_sum, theta);
        const Chance sigma = std::sqrt(tilt.variance);
        // Differences over a quarter of a width see past the unevenness of
        // lattices and gaps.
        m_spacing = std::max<long long>(1, static_cast<long long>(sigma / 4.0L));
        const Window window = windowOf(tilt, sigma);
        const std::optional<std::vector<Chance>> tilted = tiltedChances(window.length);
        if (tilted) {
            keep(tilt, window, *tilted);
        }
        return tilt;
    }

    // The totals from `from` to `to` that a transform of `length` holds
    // without a tilted tail wrapping around onto them.
    struct Window {
        std::size_t length = 0;
        long long from = 0;
        long long to = 0;
    };

    // A side whose last total is nearer than a normal law's tail needs no
    // bound: nothing lies past it.
    Window windowOf(const SumTilt& tilt, Chance sigma) const {
        const Chance tail = kNegligible * kResolved / static_cast<Chance>(m_highest - m_lowest + 1);
        const Chance normalTail = 1.25L * std::sqrt(-2.0L * std::log(tail)) * sigma;
        const Chance toHighest = static_cast<Chance>(m_highest) - tilt.mean + 1.0L;
        const Chance toLowest = tilt.mean - static_cast<Chance>(m_lowest) + 1.0L;
        const Chance above = toHighest <= normalTail
                                 ? toHighest
                                 : std::min(toHighest, ChernoffDistance(m_sum, tilt, tail, true));
        const Chance below = toLowest <= normalTail
                                 ? toLowest
                                 : std::min(toLowest, ChernoffDistance(m_sum, tilt, tail, false));
        const Chance wanted =
            std::min(above + below, std::max(above, below) + kCover * sigma + 2.0L);
        Window window;
        window.length = TransformLength(static_cast<std::size_t>(std::ceil(wanted)) + 1);
        const Chance n = static_cast<Chance>(window.length);
        window.from = std::max<long long>(
            m_first,
            static_cast<long long>(std::ceil(std::max(tilt.mean - below, tilt.mean + above - n))));
        window.to = std::min<long long>(
            m_last,
            static_cast<long long>(std::floor(std::min(tilt.mean + above, tilt.mean - below + n))));
        return window;
    }

    // The tilted chances: the product of the factors' values, those past the
    // frequencies any factor needs being negligible, transformed back.
    // Nothing once the budget is spent.
    std::optional<std::vector<Chance>> tiltedChances(std::size_t length) {
        const Chance leftOut = kNegligible * kResolved / static_cast<Chance>(length);
        for (const auto& factor : m_sum.factors) {
            factor->prepareSpectrum(length, leftOut);
        }
        const std::size_t count = frequenciesNeeded(length, std::log(leftOut));
        m_spent +=
            kNanosPerTerm * static_cast<double>(length) * std::log2(static_cast<double>(length));
        for (const auto& factor : m_sum.factors) {
            m_spent += factor->spectrumWork(length, count);
        }
        if (overBudget()) {
            return std::nullopt;
        }
        std::vector<Complex> product(count, Complex(1.0L));
        std::vector<Complex> values;
        for (const auto& factor : m_sum.factors) {
            factor->spectrum(length, count, values);
            assert(values.size() == count);
            for (std::size_t j = 0; j < count; ++j) {
                product[j] = Times(product[j], values[j]);
            }
        }
        return InverseReal(product, length);
    }

    // Keeps the chance of each total of the window that this tilt resolves
    // better than any before. The tilt is undone by e^(ln mass - theta (s -
    // reference)), stepped from total to total by products and started
    // afresh now and then.
    void keep(const SumTilt& tilt, const Window& window, const std::vector<Chance>& tilted) {
        const auto m = static_cast<long long>(window.length);
        const auto at = [&](long long s) {
            return tilted[static_cast<std::size_t>(((s - tilt.reference) % m + m) % m)];
        };
        // The round-off of the transform is a share of its largest value,
        // wherever that lies, in the window or past it.
        const Chance peak = *std::max_element(tilted.begin(), tilted.end());
        constexpr long long kFreshEvery = 32;
        const Chance theta = tilt.theta;
        const Chance step = std::exp(-theta);
        Chance undo = 0.0L;
        int newlyResolved = 0;
        for (long long s = window.from; s <= window.to && peak > 0.0L; ++s) {
            undo = (s - window.from) % kFreshEvery == 0
                       ? std::exp(tilt.logMass - theta * static_cast<Chance>(s - tilt.reference))
                       : undo * step;
            const Chance value = at(s);
            const auto i = static_cast<std::size_t>(s - m_first);
            if (value > 0.0L && value / peak > m_resolved[i] && m_possible[i]) {
                newlyResolved += m_resolved[i] < kResolved && value / peak >= kResolved ? 1 : 0;
                m_resolved[i] = value / peak;
                m_chance[i] = value * undo;
                assert(std::isfinite(m_chance[i]));
            }
        }
        m_fruitless = newlyResolved > 0 ? 0 : m_fruitless + 1;
    }

    // The frequencies from 0 on past which the product of the factors'
    // values stays below e^logLeft: the least j where their bounds, which
    // fall as j grows, add up to less, found by halving.
    std::size_t frequenciesNeeded(std::size_t length, Chance logLeft) const {
        const auto bound = [&](std::size_t j) {
            Chance sum = 0.0L;
            for (const auto& factor : m_sum.factors) {
                sum += factor->logBound(j, length);
            }
            return sum;
        };
        std::size_t low = 1;
        std::size_t high = length / 2 + 1;
        while (low < high) {
            const std::size_t middle = (low + high) / 2;
            if (bound(middle) <= logLeft) {
                high = middle;
            } else {
                low = middle + 1;
            }
        }
        return low;
    }

    Sum& m_sum;
    SweepBudget m_budget;
    double m_spent = 0.0;
    double m_tiltWork = 0.0;  // of weighing every factor for a tilt
    int m_fruitless = 0;      // tilts in a row that resolved no total
    long long m_first;
    long long m_last;
    long long m_lowest;
    long long m_highest;
    std::vector<Chance> m_chance;
    std::vector<Chance> m_resolved;  // the share of the peak each total had in its best tilt
    std::vector<bool> m_possible;
    int m_tilts = 0;
    long long m_spacing = 1;
};

}  // namespace

long long Sum::lowest() const {
    long long lowest = constant;
    for (const auto& factor : factors) {
        lowest += factor->lowest();
    }
    return lowest;
}

long long Sum::highest() const {
    long long highest = constant;
    for (const auto& factor : factors) {
        highest += factor->highest();
    }
    return highest;
}

namespace {

// The scores of one factor needed for the totals asked for.
struct Needed {
    std::size_t count = 0;
    bool fromTop = false;
};

// Replaces each factor whose whole law takes less work than its spectrum
// for one tilt by that law, listed: its spectrum is then one transform of
// the listed chances. A law cut short would end in a jump, whose spectrum
// falls off slowly and makes every factor's spectrum needed further.
// How many totals the laws of `needed` reach together.
double Reach(const std::vector<Needed>& needed) {
    double range = 1.0;
    for (const Needed& want : needed) {
        range += static_cast<double>(want.count) - 1.0;
    }
    return range;
}

// About how long the sums take: each factor's law, then each added to the
// sum of those before.
double DirectWork(const Sum& sum, const std::vector<Needed>& needed) {
    double work = 0.0;
    double range = 1.0;
    for (std::size_t i = 0; i < sum.factors.size(); ++i) {
        const auto count = static_cast<double>(needed[i].count);
        work += sum.factors[i]->lawWork(needed[i].count, needed[i].fromTop) +
                ConvolvedWork(range, count, range + count);
        range += count - 1.0;
    }
    return work;
}

// Returns about how long one tilt then takes.
double Materialize(Sum& sum, std::vector<Needed>& needed, std::size_t length) {
    const std::size_t frequencies = length / 2 + 1;
    const auto n = static_cast<double>(length);
    double tilt = kNanosPerTerm * n * std::log2(n);
    for (std::size_t i = 0; i < sum.factors.size(); ++i) {
        std::unique_ptr<Factor>& factor = sum.factors[i];
        const Needed want = needed[i];
        const double spectrum = factor->spectrumWork(length, frequencies);
        const auto whole = static_cast<std::size_t>(factor->highest() - factor->lowest() + 1);
        if (want.count < whole || factor->lawWork(want.count, want.fromTop) > spectrum) {
            tilt += spectrum;
            continue;
        }
        const long long start = factor->lowest();
        std::vector<Chance> law = factor->law(want.count, false);
        if (std::none_of(law.begin(), law.end(), [](Chance c) { return c > 0.0L; })) {
            continue;
        }
        factor = PowerOf(start, law, 1);
        needed[i] = {static_cast<std::size_t>(factor->highest() - factor->lowest() + 1), false};
        tilt += factor->spectrumWork(length, frequencies);
    }
    return tilt;
}

// Sums of products of chances alone keep every digit of every chance without
// tilts; below this many steps they are also the faster way.
constexpr double kDirectWork = 1e7;
// The tilts, unless the sums are cheap or even the fewest tilts would take
// longer. They are given up once they have taken as long as the sums would;
// where they leave chances known to fewer digits than the sums give, the sums
// are worth a few times their usual cost.
constexpr double kWorthRedoing = 2e7;
constexpr double kWorthRedoingMuch = 6e7;
constexpr double kSumsOverDefeatedTilts = 1.5e8;
constexpr double kDigitsLost = 1e-10;
constexpr double kFewDigitsLeft = 1e-3;  // whatever the sums cost
constexpr double kGoodEnough = 1e-13;
constexpr double kFewestTilts = 3.0;
// The tilts' own estimate of their work runs high as often as low: they are
// given up at half again the work of the sums.
constexpr double kBudgetShare = 1.5;

// Each factor's law is needed only as far as the others let the total reach
// the totals asked for: from its lowest score up, or from its highest down,
// whichever end those reach.
std::vector<Needed> NeededScores(Sum& sum, const SumRequest& request) {
    std::vector<Needed> needed;
    const long long lowest = sum.lowest();
    const long long highest = sum.highest();
    for (auto& factor : sum.factors) {
        long long low = std::max(factor->lowest(), request.first - (highest - factor->highest()));
        long long high = std::min(factor->highest(), request.last - (lowest - factor->lowest()));
        // On a side without end, past the factor's own negligible tail.
        Sum alone;
        alone.factors.push_back(std::move(factor));
        if (request.openAbove) {
            high = std::min(high, TailEnd(alone, request.negligible, true));
        }
        if (request.openBelow) {
            low = std::max(low, TailEnd(alone, request.negligible, false));
        }
        factor = std::move(alone.factors.front());
        const bool fromTop = low > factor->lowest() && high == factor->highest();
        const auto count = static_cast<std::size_t>(
            std::max(0LL, fromTop ? factor->highest() - low + 1 : high - factor->lowest() + 1));
        needed.push_back({count, fromTop});
    }
    return needed;
}

// About how many tilts a sweep over `reach` totals takes. Each resolves
// some 3.7 standard deviations of its tilted law on either side, and those
// narrow towards the ends: sums of dice took about 0.6 tilts per standard
// deviation of the untilted law that their totals span. Not so a sum
// without end, whose tilted law widens towards its far tail as the
// explosions of dice do: 13 tilts took 232,204 totals of five terms of
// 100d100kh50! at 400 a standard deviation, and the fewest are assumed.
double ExpectedTilts(const Sum& sum, const SumRequest& request, double reach) {
    constexpr double kTiltsPerDeviation = 0.6;
    if (request.openAbove || request.openBelow) {
        return kFewestTilts;
    }
    const auto sigma = static_cast<double>(std::sqrt(TiltedAt(sum, 0.0L).variance));
    return sigma > 0.0 ? std::max(kFewestTilts, kTiltsPerDeviation * reach / sigma) : kFewestTilts;
}

// Whether the tilts are tried first, and within what budget. For the
// fastest way, factors whose whole law is cheaper than their spectrum are
// listed first, and `work` becomes that of the sums with those laws.
bool TiltsFirst(Sum& sum, std::vector<Needed>& needed, const SumRequest& request, SumMethod method,
                double& work, SweepBudget& budget) {
    if (method != SumMethod::kFastest || work <= kDirectWork) {
        return method == SumMethod::kTransform;
    }
    const double reach = Reach(needed);
    const double tilt = Materialize(sum, needed, TransformLength(static_cast<std::size_t>(reach)));
    work = DirectWork(sum, needed);
    // Where the sums are costly, a tilt too many expected would cost more
    // than any saved: the fewest are assumed, and only the budget stops
    // the tilts.
    const double expected =
        work <= kWorthRedoingMuch ? ExpectedTilts(sum, request, reach) : kFewestTilts;
    budget = {kBudgetShare * work, work, expected};
    const bool defeated = std::any_of(sum.factors.begin(), sum.factors.end(),
                                      [](const auto& factor) { return factor->defeatsTilts(); });
    return budget.expectedTilts * tilt < work && !(defeated && work <= kSumsOverDefeatedTilts);
}

// Whether the sums, of about `work`, are worth their cost over the tilts'
// chances.
bool WorthRedoing(const SumChances& tilted, double work) {
    return (tilted.relativeError > kGoodEnough && work <= kWorthRedoing) ||
           (tilted.relativeError > kDigitsLost && work <= kWorthRedoingMuch) ||
           tilted.relativeError > kFewDigitsLeft;
}

// The laws added one after the other, each sum kept from the lowest total
// its laws reach.
SumChances DirectSum(const Sum& sum, const std::vector<Needed>& needed, const Support& possible,
                     long long first, long long last) {
    std::vector<Chance> law{1.0L};
    long long start = sum.constant;
    for (std::size_t i = 0; i < sum.factors.size(); ++i) {
        const Factor& factor = *sum.factors[i];
        law = Convolved(law, factor.law(needed[i].count, needed[i].fromTop),
                        std::numeric_limits<std::size_t>::max());
        start += needed[i].fromTop ? factor.highest() - static_cast<long long>(needed[i].count) + 1
                                   : factor.lowest();
    }
    SumChances result;
    result.first = first;
    result.relativeError = static_cast<double>(kRoundOff);
    result.chance.assign(static_cast<std::size_t>(last - first + 1), 0.0L);
    for (long long s = first; s <= last; ++s) {
        const long long at = s - start;
        if (possible.contains(s) && at >= 0 && at < static_cast<long long>(law.size())) {
            result.chance[static_cast<std::size_t>(s - first)] = law[static_cast<std::size_t>(at)];
        }
    }
    return result;
}

// The totals the tilts left unresolved at an end, by the sums alone, when
// those are cheap for that end's totals: a law that leaps from one peak to
// another near an end, as keeping the highest of dice whose lowest face is
// rare does, would otherwise cost the sums of every total.
bool MendEnds(Sum& sum, const Support& possible, const SumRequest& request, SumChances& tilted) {
    if (!(tilted.errorBetween <= kGoodEnough)) {
        return false;
    }
    const long long first = request.first;
    const long long last = request.last;
    std::vector<std::pair<long long, long long>> ends;
    if (tilted.lowUnresolved >= first) {
        ends.emplace_back(first, tilted.lowUnresolved);
    }
    if (tilted.highUnresolved <= last) {
        ends.emplace_back(tilted.highUnresolved, last);
    }
    for (const auto& [from, to] : ends) {
        SumRequest end = request;
        end.first = from;
        end.last = to;
        const std::vector<Needed> needed = NeededScores(sum, end);
        if (DirectWork(sum, needed) > kWorthRedoing) {
            return false;
        }
        const SumChances sums = DirectSum(sum, needed, possible, from, to);
        std::copy(sums.chance.begin(), sums.chance.end(),
                  tilted.chance.begin() + static_cast<std::ptrdiff_t>(from - first));
    }
    tilted.relativeError = std::max(tilted.errorBetween, static_cast<double>(kRoundOff));
    return true;
}

}  // namespace

SumChances ChancesOfSum(Sum& sum, const Support& possible, const SumRequest& request,
                        SumMethod method) {
    assert(request.first <= request.last);
    std::vector<Needed> needed = NeededScores(sum, request);
    double work = DirectWork(sum, needed);
    SweepBudget budget;
    if (TiltsFirst(sum, needed, request, method, work, budget)) {
        std::optional<SumChances> tilted =
            Sweep(sum, possible, request.first, request.last, budget).run();
        if (tilted && !(method == SumMethod::kFastest && WorthRedoing(*tilted, work))) {
            return *std::move(tilted);
        }
        if (tilted && method == SumMethod::kFastest && MendEnds(sum, possible, request, *tilted)) {
            return *std::move(tilted);
        }
    }
    return DirectSum(sum, needed, possible, request.first, request.last);
}

namespace {

// Chernoff's bound at one tilt l = e^x: the bound itself, and how far and
// how fast the tilt is from the best one, the place where `gap` rises
// through 0.
struct ChernoffProbe {
    Chance bound = 0.0L;
    Chance gap = 0.0L;
    Chance slope = 0.0L;  // d gap / dx, never negative
};

// The least bound over the tilts l from 1e-7 to kLargestTilt. The gap rises
// with l (ln E e^(l S) is convex), so the best tilt is its one root, found by
// Newton's steps in ln l kept within the bracket that the signs of the gaps
// so far leave, and halving it where a step would leave it (Press et al.,
// "Numerical Recipes", 3rd ed., 2007, section 9.4). Every tilt gives a
// valid bound, so the least seen is the answer.
template <typename Probe>
Chance LeastOverTilts(const Probe& probe) {
    constexpr Chance kCloseEnough = 1e-3L;
    constexpr int kMostSteps = 40;
    const Chance first = std::log(1e-7L);
    const Chance last = std::log(kLargestTilt);
    // The bracket's ends, while no probe has been there, are the tilts' own.
    std::optional<Chance> low;
    std::optional<Chance> high;
    Chance x = 0.5L * (first + last);
    Chance lastStep = last - first;
    Chance least = std::numeric_limits<Chance>::infinity();
    for (int step = 0; step < kMostSteps; ++step) {
        const ChernoffProbe here = probe(x);
        least = std::min(least, here.bound);
        const bool rootBelow = here.gap > 0.0L;
        // At an end of the tilts with the root past it, that end is best.
        if ((x == first && rootBelow) || (x == last && !rootBelow)) {
            break;
        }
        (rootBelow ? high : low) = x;
        const Chance below = low.value_or(first);
        const Chance above = high.value_or(last);
        const Chance newton = here.slope > 0.0L ? x - here.gap / here.slope
                              : rootBelow       ? first
                                                : last;
        Chance next = newton;
        if (!(newton > below && newton < above)) {
            // Past a side no probe has bounded yet, its end is worth a look.
            const bool open = newton <= below ? !low : !high;
            next = open ? (newton <= below ? first : last) : 0.5L * (below + above);
        } else if (std::abs(newton - x) > 0.5L * lastStep) {
            // Newton's steps that do not shrink fast enough halve instead.
            next = 0.5L * (below + above);
        }
        if (std::abs(next - x) < kCloseEnough || above - below < kCloseEnough) {
            break;
        }
        lastStep = std::abs(next - x);
        x = next;
    }
    return least;
}

}  // namespace

long long TailEnd(const Sum& sum, Chance tail, bool upwards) {
    // P(S >= b) <= E e^(l S) e^(-l b), which is `tail` at
    // b = (ln E e^(l S) - ln tail) / l.
    const Chance margin = -std::log(tail);
    const Chance end = LeastOverTilts([&](Chance x) {
        // The bound (K(l) + margin) / l is least where l K'(l) - K(l)
        // reaches the margin, K being ln E e^(l S).
        const Chance l = std::exp(x);
        const SumTilt tilt = BoundAt(sum, upwards ? l : -l);
        const Chance logMoment = tilt.logMoment();
        const Chance mean = upwards ? tilt.mean : -tilt.mean;
        // On a logarithmic scale that gap is about linear in ln l, exactly so
        // for a normal law, so that Newton's steps land close at once.
        const Chance rise = l * mean - logMoment;
        const bool some = rise > 0.0L;
        return ChernoffProbe{
            (logMoment + margin) / l,
            some ? std::log(rise / margin) : -std::numeric_limits<Chance>::infinity(),
            some ? l * l * tilt.variance / rise : 0.0L};
    });
    if (upwards) {
        return std::min(sum.highest(), static_cast<long long>(std::ceil(end)));
    }
    return std::max(sum.lowest(), static_cast<long long>(std::floor(-end)));
}

Chance TailChance(const Sum& sum, long long total, bool upwards) {
    const auto t = static_cast<Chance>(total);
    const Chance from = upwards ? t : -t;
    return std::exp(std::min(
        0.0L, LeastOverTilts([&](Chance x) {
            // K(l) - l t is least where K'(l) reaches t.
            const Chance l = std::exp(x);
            const SumTilt tilt = BoundAt(sum, upwards ? l : -l);
            const Chance mean = upwards ? tilt.mean : -tilt.mean;
            return ChernoffProbe{tilt.logMoment() - l * from, mean - from, l * tilt.variance};
        })));
}

}  // namespace alearo::dice
