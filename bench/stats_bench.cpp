// SPDX-License-Identifier: MIT
// Times the distribution of the totals of one roll: the largest form the
// window accepts, rolls of up to ten dice, and a few common ones.
#include <benchmark/benchmark.h>

#include "stats/roll_distribution.h"

namespace {

// As in the window, each new distribution replaces the one shown before.
void ComputeOnce(benchmark::State& state, alearo::RollSpec spec) {
    alearo::TotalDistribution distribution;
    for (auto _ : state) {
        distribution = alearo::ComputeDistribution(spec);
        benchmark::DoNotOptimize(distribution.exactly.data());
    }
}

// dice, sides, each modifier, total modifier, floor of one, drop the lowest
BENCHMARK_CAPTURE(ComputeOnce, 100d100_all_options, alearo::RollSpec{100, 100, -20, 7, true, true});
BENCHMARK_CAPTURE(ComputeOnce, 100d100_drop, alearo::RollSpec{100, 100, 0, 7, false, true});
BENCHMARK_CAPTURE(ComputeOnce, 100d100_plain, alearo::RollSpec{100, 100, 0, 0, false, false});
BENCHMARK_CAPTURE(ComputeOnce, 20d100_all_options, alearo::RollSpec{20, 100, -20, 7, true, true});
BENCHMARK_CAPTURE(ComputeOnce, 10d100_all_options, alearo::RollSpec{10, 100, -20, 7, true, true});
BENCHMARK_CAPTURE(ComputeOnce, 10d100_drop, alearo::RollSpec{10, 100, 5, -3, false, true});
BENCHMARK_CAPTURE(ComputeOnce, 10d20_all_options, alearo::RollSpec{10, 20, -3, 2, true, true});
BENCHMARK_CAPTURE(ComputeOnce, 4d6_drop, alearo::RollSpec{4, 6, 0, 0, false, true});
BENCHMARK_CAPTURE(ComputeOnce, 3d6, alearo::RollSpec{3, 6, 0, 0, false, false});

}  // namespace

BENCHMARK_MAIN();
