#include <benchmark/benchmark.h>
#include "platform/Strings.h"

static void BM_StringToFloat(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(StringToFloat("123.456789"));
}
BENCHMARK(BM_StringToFloat);
