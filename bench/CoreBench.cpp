// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#include "core/RunTallies.h"
#include "core/Summary.h"

#include <benchmark/benchmark.h>
#include <string>

namespace {

void scoreEntryShortTexts(benchmark::State &state)
{
    sipster::RunTallies tallies;
    for (auto _ : state) {
        // Reset before the tallies fill up, so every call takes the accepting path.
        if (tallies.intTesterCount == 3000) {
            tallies = {};
        }
        benchmark::DoNotOptimize(sipster::ScoreEntry(tallies, "8", "6"));
    }
}
BENCHMARK(scoreEntryShortTexts);

void scoreEntryTypicalTexts(benchmark::State &state)
{
    sipster::RunTallies tallies;
    for (auto _ : state) {
        if (tallies.intTesterCount == 3000) {
            tallies = {};
        }
        benchmark::DoNotOptimize(sipster::ScoreEntry(tallies, " 10.5 ", "&HA"));
    }
}
BENCHMARK(scoreEntryTypicalTexts);

void scoreEntryRefused(benchmark::State &state)
{
    sipster::RunTallies tallies;
    for (auto _ : state) {
        benchmark::DoNotOptimize(sipster::ScoreEntry(tallies, "7", "abc"));
    }
}
BENCHMARK(scoreEntryRefused);

// Reading must stay linear in the text's length, whatever the text.
void scoreEntryLongDigits(benchmark::State &state)
{
    const std::string digits(static_cast<std::size_t>(state.range(0)), '7');
    sipster::RunTallies tallies;
    for (auto _ : state) {
        benchmark::DoNotOptimize(sipster::ScoreEntry(tallies, digits, digits));
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(scoreEntryLongDigits)->RangeMultiplier(16)->Range(16, 1 << 20)->Complexity();

void computeSummary(benchmark::State &state)
{
    const sipster::RunTallies tallies {23, 25, 3};
    const sipster::NumberStyle style;
    for (auto _ : state) {
        benchmark::DoNotOptimize(sipster::ComputeSummary(tallies, style));
    }
}
BENCHMARK(computeSummary);

} // namespace

BENCHMARK_MAIN();
