// Host cost of the event log: decoding a full ring, turning it into rows and
// CSV bytes, and reading or erasing it through the simulated module. The
// transfer benchmarks also report line calls and the simulated module's
// virtual time per operation (what a real cable would take at its line-call
// cost, plus the write-cycle waits).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "log/log_csv.h"
#include "log/log_rows.h"
#include "log/log_transfer.h"
#include "sim/simulated_module.h"

namespace korvex {
namespace {

// 111 records of assorted codes after a marker in slot 0.
LogBytes FullRing() {
    std::vector<LogRecord> records(kLogSlots - 1);
    for (std::size_t i = 0; i < records.size(); ++i) {
        LogRecord& r = records[i];
        r.month = static_cast<int>(i % 12) + 1;
        r.day = static_cast<int>(i % 28) + 1;
        r.hour = static_cast<int>(i % 24);
        r.minute = static_cast<int>(i % 60);
        r.objectId = 0x1234;
        r.eventCode = 100 + static_cast<int>(i * 5 % 555);
        r.restore = i % 2 == 1;
        r.partition = 1;
        r.zoneOrUser = static_cast<int>(i % 4);
    }
    return BuildLogArea(records);
}

void BM_DecodeLog(benchmark::State& state) {
    const LogBytes ring = FullRing();
    for (auto _ : state) benchmark::DoNotOptimize(DecodeLog(ring));
}
BENCHMARK(BM_DecodeLog);

void BM_RowsAndCsv(benchmark::State& state) {
    const std::vector<LogRecord> records = DecodeLog(FullRing());
    for (auto _ : state) {
        const auto rows = MakeLogRows(records, true, Language::Russian);
        benchmark::DoNotOptimize(LogCsvBytes(rows));
    }
}
BENCHMARK(BM_RowsAndCsv);

void Prepare(SimulatedModule& sim) {
    const Profile& p = FullProfile();
    std::copy(p.marker.begin(), p.marker.end(), sim.Memory().begin());
    std::copy(std::begin(kDeviceTypeSignature), std::end(kDeviceTypeSignature), sim.Memory().begin() + 20);
    const LogBytes ring = FullRing();
    std::copy(ring.begin(), ring.end(), sim.Memory().begin() + kLogAddress);
}

template <typename Operation>
void RunTransfer(benchmark::State& state, Operation operation) {
    SimulatedModule sim;
    Prepare(sim);
    TwoWireBus bus(sim, sim.Sleeper());
    NullProgress progress;
    std::uint64_t calls = 0, virtualNs = 0;
    for (auto _ : state) {
        sim.ResetCounters();
        const std::uint64_t t0 = sim.NowNs();
        if (!operation(bus, progress).Ok()) state.SkipWithError("module check failed");
        calls += sim.GetCounters().Total();
        virtualNs += sim.NowNs() - t0;
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["line_calls"] = static_cast<double>(calls) / n;
    state.counters["virtual_ms"] = static_cast<double>(virtualNs) / n / 1e6;
}

void BM_ReadLogSimulated(benchmark::State& state) {
    std::vector<LogRecord> records;
    RunTransfer(state, [&](TwoWireBus& bus, Progress& progress) {
        return ReadLog(bus, FullProfile(), progress, records);
    });
}
BENCHMARK(BM_ReadLogSimulated)->Unit(benchmark::kMillisecond);

void BM_ClearLogSimulated(benchmark::State& state) {
    RunTransfer(state, [](TwoWireBus& bus, Progress& progress) { return ClearLog(bus, FullProfile(), progress); });
}
BENCHMARK(BM_ClearLogSimulated)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvex

BENCHMARK_MAIN();
