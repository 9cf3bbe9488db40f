// SPDX-License-Identifier: MIT
#include <cstddef>
#include <map>
#include <vector>

#include "dice_oracle.h"

// Counts of rolls far too many to enumerate, by closed forms in whole
// numbers: neither the library's transforms nor its sums of products of
// chances. The counts of every combination hold them to account on small
// terms (tests/dice/chances_test.cpp).

namespace alearo::oracle {

namespace {

using Counts = std::vector<Count>;
using Weights = std::map<long long, Count>;

// Pascal's triangle down to row n: c[m][j] is C(m, j).
std::vector<Counts> Binomials(int n) {
    std::vector<Counts> c(static_cast<std::size_t>(n) + 1);
    for (std::size_t m = 0; m < c.size(); ++m) {
        c[m].assign(m + 1, 1);
        for (std::size_t j = 1; j < m; ++j) {
            c[m][j] = c[m - 1][j - 1] + c[m - 1][j];
        }
    }
    return c;
}

// The ways n dice of f faces add up to each total n + i, by inclusion and
// exclusion over the k dice pushed past f: the sum over k of
// (-1)^k C(n, k) C(n + i - k f - 1, n - 1).
Weights SumWays(int n, int f) {
    const std::vector<Counts> c = Binomials(n);
    Counts column{1};  // C(n - 1 + j, n - 1) at index j, up to i
    Weights ways;
    // The totals mirror about the middle one: face x is face f + 1 - x.
    for (long long i = 0, back = n * (f - 1LL); i <= back; ++i, --back) {
        Count& sum = ways[n + i];
        for (long long k = 0; k <= n && k * f <= i; ++k) {
            sum += (k % 2 == 0 ? 1 : -1) * c[n][k] * column[i - k * f];
        }
        ways[n + back] = sum;
        column.push_back(column.back() * (i + n) / (i + 1));
    }
    return ways;
}

// h(x) (x + x^2 + ... + x^g), in place: each entry becomes the sum of the g
// below it, from the top down so that those are still there to add.
void TimesDie(Counts& h, std::size_t g) {
    h.resize(h.size() + g);
    const Count none = 0;
    Count window = 0;
    for (std::size_t u = h.size(); u-- > 0;) {
        window += u >= g ? h[u - g] : none;
        window -= h[u];
        h[u] = window;
    }
}

// The ways the k highest of n dice of f faces add up to each total, by the
// value v of the k-th highest die: a < k dice lie above v, e >= k - a
// show v and the n - a - e others lie below it, in v - 1 ways each. The a
// dice above, each v plus one of f - v faces, add up to a v + u, so that the
// kept dice add up to k v + u. Horner's rule adds up the weighted powers of
// the die of f - v faces, the weight of a being C(n, a) times the sum over
// e of C(n - a, e) (v - 1)^(n - a - e).
Weights KeptHighestWays(int n, int f, int k) {
    const std::vector<Counts> c = Binomials(n);
    Weights ways;
    for (int v = 1; v <= f; ++v) {
        Counts h(1, 0);
        for (int a = k - 1; a >= 0; --a) {
            TimesDie(h, static_cast<std::size_t>(f - v));
            Count weight = 0;
            for (int e = k - a; e <= n - a; ++e) {
                weight = weight * (v - 1) + c[n - a][e];
            }
            h[0] += c[n][a] * weight;
        }
        for (std::size_t u = 0; u < h.size(); ++u) {
            ways[static_cast<long long>(k) * v + static_cast<long long>(u)] += h[u];
        }
    }
    return ways;
}

}  // namespace

Weights KeptTotals(int n, int faces, int kept, bool highest) {
    // Face x of the lowest is face faces + 1 - x of the highest.
    Weights weight;
    for (const auto& [total, ways] :
         kept == n ? SumWays(n, faces) : KeptHighestWays(n, faces, kept)) {
        weight[highest ? total : kept * (faces + 1LL) - total] = ways;
    }
    return weight;
}

}  // namespace alearo::oracle
