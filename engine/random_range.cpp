// SPDX-License-Identifier: MIT
#include "engine/random_range.h"

#include <climits>
#include <cstdlib>
#include <random>
#include <utility>

namespace alearo {

namespace {

constexpr int kCallsPerSeed = 1000;

// A bijection on 32-bit values (the finaliser of MurmurHash3): distinct inputs
// give distinct seeds, while neighbouring inputs give unrelated ones.
constexpr std::uint32_t Mix32(std::uint32_t x) {
    x ^= x >> 16;
    x *= 0x85EBCA6BU;
    x ^= x >> 13;
    x *= 0xC2B2AE35U;
    x ^= x >> 16;
    return x;
}

constexpr int BitWidth(unsigned long value) {
    int bits = 0;
    while (value != 0) {
        ++bits;
        value >>= 1;
    }
    return bits;
}

// rand() may deliver more than 15 bits; keep its top 15, which are the best
// mixed bits of the usual generators.
constexpr int kDrawShift = BitWidth(RAND_MAX) - 15;
static_assert(kDrawShift >= 0, "rand() must deliver at least 15 bits");

struct RandomSource {
    RandomSourceHooks hooks;
    int counter = 0;
    bool hasBase = false;
    std::uint32_t base = 0;
    std::uint32_t reseeds = 0;
    long reseedCount = 0;

    std::time_t clock() const { return hooks.clock ? hooks.clock() : std::time(nullptr); }

    std::uint32_t entropy() const {
        if (hooks.entropy) {
            return hooks.entropy();
        }
        std::random_device device;
        return device();
    }

    // The clock alone would restart the same sequence on every reseed within
    // one second, and give two processes started together the same rolls. The
    // seeds of one process instead walk an odd-step sequence through a
    // bijection, so none repeats for 2^32 reseeds; where that sequence starts
    // mixes the clock with per-process entropy.
    std::uint32_t nextSeed() {
        if (!hasBase) {
            base = entropy() ^ Mix32(static_cast<std::uint32_t>(clock()));
            hasBase = true;
        }
        const std::uint32_t seed = Mix32(base + reseeds * 0x9E3779B9U);
        ++reseeds;
        return seed;
    }

    void reseed() {
        ++reseedCount;
        std::srand(nextSeed());
    }
};

// Namespace scope rather than a function-local static: the draw path runs
// 20,000 times a Roll and should not test an initialisation guard each time.
// Nothing calls RandomRange before main.
RandomSource gSource;

RandomSource& Source() {
    return gSource;
}

}  // namespace

int RandomDraw15() {
    return std::rand() >> kDrawShift;
}

int RandomRange(int lo, int hi) {
    RandomSource& source = Source();
    int calls = source.counter;
    if (calls == 0 || calls > kCallsPerSeed) {
        source.reseed();
        calls = 1;
    }
    source.counter = calls + 1;

    const int high = RandomDraw15();
    const std::uint32_t draw =
        (static_cast<std::uint32_t>(high) << 16) | static_cast<std::uint32_t>(RandomDraw15());

    if (lo > hi) {
        std::swap(lo, hi);
    }
    // The span is at most 2^32, so it is counted in 64 bits; a draw is below
    // 2^31, so any span above that leaves it unreduced.
    const std::uint64_t span = static_cast<std::uint64_t>(static_cast<std::int64_t>(hi) - lo) + 1;
    const std::uint32_t offset = span > INT_MAX ? draw : draw % static_cast<std::uint32_t>(span);
    return static_cast<int>(static_cast<std::int64_t>(lo) + offset);
}

void ResetRandomSource(RandomSourceHooks hooks) {
    RandomSource& source = Source();
    source = RandomSource{};
    source.hooks = std::move(hooks);
}

long RandomReseedCount() {
    return Source().reseedCount;
}

}  // namespace alearo
