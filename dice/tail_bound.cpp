// SPDX-License-Identifier: MIT
#include "dice/tail_bound.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace alearo::dice {

namespace {

constexpr std::size_t kMostBuckets = 512;

struct Buckets {
    std::vector<double> mass;
    std::vector<double> top;  // the highest value of each bucket
    int power = 1;
};

Buckets BucketsOf(const Draws& draws) {
    const std::vector<double>& chance = *draws.chance;
    const std::size_t width = (chance.size() + kMostBuckets - 1) / kMostBuckets;
    Buckets buckets;
    buckets.power = draws.power;
    for (std::size_t first = 0; first < chance.size(); first += width) {
        const std::size_t last = std::min(chance.size(), first + width);
        double mass = 0.0;
        for (std::size_t u = first; u < last; ++u) {
            // Round-off may leave a tiny chance a little negative; counting
            // it as positive keeps the bound a bound.
            mass += std::abs(chance[u]);
        }
        if (mass > 0.0) {
            buckets.mass.push_back(mass);
            buckets.top.push_back(static_cast<double>(last - 1));
        }
    }
    return buckets;
}

// L(lambda), each part summed from its highest value down so that nothing
// overflows.
double LogGenerating(const std::vector<Buckets>& parts, double lambda) {
    double total = 0.0;
    for (const Buckets& part : parts) {
        const double highest = part.top.back();
        double sum = 0.0;
        for (std::size_t b = 0; b < part.mass.size(); ++b) {
            sum += part.mass[b] * std::exp(lambda * (part.top[b] - highest));
        }
        total += part.power * (lambda * highest + std::log(sum));
    }
    return total;
}

}  // namespace

double UpperEnd(const std::vector<Draws>& draws, double margin) {
    std::vector<Buckets> parts;
    double highest = 0.0;
    for (const Draws& d : draws) {
        parts.push_back(BucketsOf(d));
        if (parts.back().mass.empty()) {
            parts.pop_back();
        } else {
            highest += d.power * parts.back().top.back();
        }
    }
    if (parts.empty()) {
        return 0.0;
    }
    // As lambda grows, (L(lambda) + margin) / lambda first falls and then
    // rises (L is convex), so a golden-section search over ln lambda finds its
    // least value; any lambda it tries gives a valid bound.
    const auto end = [&](double x) {
        const double lambda = std::exp(x);
        return (LogGenerating(parts, lambda) + margin) / lambda;
    };
    const double golden = 0.5 * (std::sqrt(5.0) - 1.0);
    double low = std::log(1e-9);
    double high = std::log(1e3);
    double x1 = high - golden * (high - low);
    double x2 = low + golden * (high - low);
    double e1 = end(x1);
    double e2 = end(x2);
    for (int i = 0; i < 40; ++i) {
        if (e1 < e2) {
            high = x2;
            x2 = x1;
            e2 = e1;
            x1 = high - golden * (high - low);
            e1 = end(x1);
        } else {
            low = x1;
            x1 = x2;
            e1 = e2;
            x2 = low + golden * (high - low);
            e2 = end(x2);
        }
    }
    return std::min({e1, e2, highest});
}

}  // namespace alearo::dice
