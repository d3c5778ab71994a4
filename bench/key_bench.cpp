#include <benchmark/benchmark.h>

#include <vector>

#include "engine/dispatch.h"

namespace rpn {
namespace {

// A realistic key mix: numbers keyed with points and exponents, the four
// operations, trigonometry and logarithms, stack keys, and each display mode.
std::vector<int> KeyMix()
{
    return {
        21, 22, 28, 23, 20,          // 12.3 ENTER
        15, 16, 12,                  // 45 ÷
        9,  10, 8,  22, 14, 30,      // 78 EEX 2 CHS +
        25, 9,  15,                  // FIX 4
        3,  4,  5,                   // SIN COS TAN
        25, 10, 22,                  // SCI 2
        1,  25, 1,  2,  25, 2,       // eˣ LN 10ˣ LOG
        13, 25, 13, 25, 14, 19,      // x≷y R↓ R↑ LSTx
        25, 11, 23,                  // ENG 3
        7,  25, 7,  6,  18, 24,      // √x x² 1/x × −
        17, 27, 28, 11, 29, 20, 18,  // 60.9 ← ENTER ×
        25, 27, 15, 25, 28, 15,      // STO 4 RCL 4
        25, 21, 25, 22, 30,          // →P →R +
        25, 10, 16,                  // SCI 6
    };
}

void BM_DispatchKey(benchmark::State& benchmarkState)
{
    const std::vector<int> keys = KeyMix();
    StandardRandomSource random(1);
    CalcState state = MakeResetState();
    std::size_t next = 0;
    for (auto _ : benchmarkState) {
        state.KeyCode = keys[next];
        DispatchKey(state, random);
        state.KeyCode = 0;
        benchmark::DoNotOptimize(state.DisplayText.data());
        if (++next == keys.size())
            next = 0;
    }
    benchmarkState.SetItemsProcessed(benchmarkState.iterations());
}
BENCHMARK(BM_DispatchKey);

}  // namespace
}  // namespace rpn

BENCHMARK_MAIN();
