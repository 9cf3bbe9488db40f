// Times one Roll of 100 rolls of 100 d100 with every option on, beside the
// floor: the 20,000 raw 15-bit draws that the same Roll consumes.
#include <benchmark/benchmark.h>

#include "engine/random_range.h"
#include "engine/roll.h"
#include "engine/roll_state.h"

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
    alearo::RollState roll;
    roll.m_nRolls = kRolls;
    roll.m_nDice = kDice;
    roll.m_nDieSides = 100;
    roll.m_nDieTypeIndex = 6;
    roll.m_nEachModifier = -20;
    roll.m_nTotalModifier = 7;
    roll.m_bNoRollsBelowOne = true;
    roll.m_bDropLowest = true;
    roll.m_bNoInstantUpdate = true;
    for (auto _ : state) {
        benchmark::DoNotOptimize(alearo::RollDice(roll));
        benchmark::DoNotOptimize(roll.m_strResults.data());
    }
    state.SetItemsProcessed(state.iterations() * kRolls * kDice);
}
BENCHMARK(BM_EngineRoll);

}  // namespace

BENCHMARK_MAIN();
