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
        kKey1,          kKey2,   kKeyPoint,      kKey3,          kKeyEnter,                    // 12.3 ENTER
        kKey4,          kKey5,   kKeyDivide,                                                   // 45 ÷
        kKey7,          kKey8,   kKeyEex,        kKey2,          kKeyChs,       kKeyPlus,      // 78 EEX 2 CHS +
        kKeyF,          kKey7,   kKey4,                                                        // FIX 4
        kKeySin,        kKeyCos, kKeyTan,                                                      // SIN COS TAN
        kKeyF,          kKey8,   kKey2,                                                        // SCI 2
        kKeyExp,        kKeyF,   kKeyExp,        kKeyTenPower,   kKeyF,         kKeyTenPower,  // eˣ LN 10ˣ LOG
        kKeySwap,       kKeyF,   kKeySwap,       kKeyF,          kKeyChs,       kKeyLastX,     // x≷y R↓ R↑ LSTx
        kKeyF,          kKey9,   kKey3,                                                        // ENG 3
        kKeySquareRoot, kKeyF,   kKeySquareRoot, kKeyReciprocal, kKeyTimes,     kKeyMinus,     // √x x² 1/x × −
        kKey6,          kKey0,   kKeyPoint,      kKey9,          kKeyBackspace, kKeyEnter,
        kKeyTimes,                                                                      // 60.9 ← ENTER ×
        kKeyF,          kKey0,   kKey4,          kKeyF,          kKeyPoint,     kKey4,  // STO 4 RCL 4
        kKeyF,          kKey1,   kKeyF,          kKey2,          kKeyPlus,              // →P →R +
        kKeyF,          kKey8,   kKey5,                                                 // SCI 5
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
