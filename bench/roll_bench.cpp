// SPDX-License-Identifier: MIT
// Times one Roll of 100 rolls of 100 d100 with every option on, and its
// results text, beside the floor: the 20,000 raw 15-bit draws that the same
// Roll consumes.
#include <benchmark/benchmark.h>

#include "engine/random_range.h"
#include "engine/roll.h"
#include "engine/texts.h"

namespace {

constexpr int kRolls = 100;
constexpr int kDice = 100;
constexpr int kDrawsPerDie = 2;

void BM_RawDrawFloor(benchmark::State& state) {
    alearo::RandomRange(1, 6);  // seed once, as a Roll would
    for (auto _ : state) {
        int sink = 0;
        for (int i = 0; i < kRolls * kDice * kDrawsPerDie; ++i) {
            sink += alearo::RandomDraw15();
        }
        benchmark::DoNotOptimize(sink);
    }
    state.SetItemsProcessed(state.iterations() * kRolls * kDice);
}
BENCHMARK(BM_RawDrawFloor);

void BM_EngineRoll(benchmark::State& state) {
    const alearo::RollSpec spec{kDice, 100, -20, 7, true, true};
    for (auto _ : state) {
        const std::vector<alearo::RollResult> results = alearo::RollDice(spec, kRolls);
        benchmark::DoNotOptimize(alearo::ResultsText(results).data());
    }
    state.SetItemsProcessed(state.iterations() * kRolls * kDice);
}
BENCHMARK(BM_EngineRoll);

}  // namespace

BENCHMARK_MAIN();
