// Encoding and decoding one full 30720-byte voice slot (245760 samples).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "voice/delta_codec.h"

namespace {

constexpr std::size_t kSlotBytes = 30720;
constexpr std::size_t kSamples = kSlotBytes * 8;

std::vector<std::uint8_t> Speech() {
    // A mix of a slow and a fast tone, so both bit values and clamping occur.
    std::vector<std::uint8_t> s(kSamples);
    std::uint32_t x = 12345;
    for (std::size_t i = 0; i < kSamples; ++i) {
        x = x * 1103515245 + 12345;
        const int slow = static_cast<int>((i / 40) % 2 ? 90 : -90);
        const int noise = static_cast<int>((x >> 16) % 41) - 20;
        s[i] = static_cast<std::uint8_t>(std::clamp(128 + slow + noise, 0, 255));
    }
    return s;
}

void EncodeSlot(benchmark::State& state) {
    const int step = static_cast<int>(state.range(0));
    const auto samples = Speech();
    std::vector<std::uint8_t> out(kSlotBytes);
    for (auto _ : state) {
        benchmark::DoNotOptimize(korvex::EncodeDelta(samples, step, out));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSamples));
}
BENCHMARK(EncodeSlot)->Arg(5)->Arg(7)->Unit(benchmark::kMicrosecond);

void DecodeSlot(benchmark::State& state) {
    const int step = static_cast<int>(state.range(0));
    const auto samples = Speech();
    std::vector<std::uint8_t> encoded(kSlotBytes);
    korvex::EncodeDelta(samples, step, encoded);
    std::vector<std::uint8_t> out(kSamples);
    for (auto _ : state) {
        benchmark::DoNotOptimize(korvex::DecodeDelta(encoded, step, out));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSamples));
}
BENCHMARK(DecodeSlot)->Arg(5)->Arg(7)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
