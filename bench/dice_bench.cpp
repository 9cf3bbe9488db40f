// SPDX-License-Identifier: MIT
// Times the exact chances of dice expressions, from the everyday ones to the
// slowest the notation's limits allow, and the rolling of 100 rolls of 100d6.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "dice/chances.h"
#include "dice/parse.h"
#include "dice/roll.h"

namespace {

alearo::dice::Expression Parsed(const std::string& text) {
    const alearo::dice::ParseResult result = alearo::dice::ParseExpression(text);
    if (!result.ok()) {
        std::abort();
    }
    return *result.expression;
}

void Chances(benchmark::State& state, const char* text) {
    const alearo::dice::Expression expression = Parsed(text);
    for (auto _ : state) {
        const alearo::dice::TotalDistribution distribution = alearo::dice::ExactChances(expression);
        benchmark::DoNotOptimize(distribution.exactly.data());
    }
}

void Rolls(benchmark::State& state, const char* text) {
    const alearo::dice::Expression expression = Parsed(text);
    alearo::dice::Generator generator(1);
    for (auto _ : state) {
        for (int i = 0; i < 100; ++i) {
            benchmark::DoNotOptimize(alearo::dice::RollTotal(expression, generator));
        }
    }
}

}  // namespace

// The names are the expressions as typed, which the formatter would space out.
// clang-format off
BENCHMARK_CAPTURE(Chances, 3d6, "3d6");
BENCHMARK_CAPTURE(Chances, 4d6dl1, "4d6dl1");
BENCHMARK_CAPTURE(Chances, 2d20kh1+5, "2d20kh1+5");
BENCHMARK_CAPTURE(Chances, 1d20+1d4+3, "1d20+1d4+3");
BENCHMARK_CAPTURE(Chances, 8d6!, "8d6!");
BENCHMARK_CAPTURE(Chances, 10d10>=8, "10d10>=8");
BENCHMARK_CAPTURE(Chances, 100d100kh50, "100d100kh50")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Chances, 100d100!, "100d100!")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Chances, 100d100!kh50, "100d100!kh50")->Unit(benchmark::kMillisecond);
// Few kept dice of many exploding dice of the most faces allowed.
BENCHMARK_CAPTURE(Chances, 100d100!kh4, "100d100!kh4")->Unit(benchmark::kMillisecond);
// 500 dice, the most the notation allows, in terms that differ so that none
// is a power of another.
BENCHMARK_CAPTURE(Chances, 500_dice:100d1000+...+100d996,
                  "100d1000+100d999+100d998+100d997+100d996")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Chances, 500_dice:100d100!kh4+...+100d96!kh4,
                  "100d100!kh4+100d99!kh4+100d98!kh4+100d97!kh4+100d96!kh4")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Chances, 500_dice:100d100min20max80kh50+...+100d96min20max80kh50,
                  "100d100min20max80kh50+100d99min20max80kh50+100d98min20max80kh50+"
                  "100d97min20max80kh50+100d96min20max80kh50")
    ->Unit(benchmark::kMillisecond);
// Ten terms of dice, the most allowed, each of many faces.
BENCHMARK_CAPTURE(Chances, 500_dice:50d1000+...+50d991,
                  "50d1000+50d999+50d998+50d997+50d996+50d995+50d994+50d993+50d992+50d991")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Chances, 500_dice:100d1000min200max800+...+100d996min200max800,
                  "100d1000min200max800+100d999min200max800+100d998min200max800+"
                  "100d997min200max800+100d996min200max800")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Rolls, 100_rolls_of_100d6, "100d6");
// clang-format on

BENCHMARK_MAIN();
