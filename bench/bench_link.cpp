// Host cost of configuration transfers, per line call. The bus runs on three
// kinds of lines: the simulated module (what tests use), bare counting lines
// (the bus code's own cost) and a replay of the same calls straight into the
// simulator (the simulator's own cost).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "link/device_link.h"
#include "sim/simulated_module.h"

namespace korvex {
namespace {

class CountingLines final : public ModemLines {
public:
    void SetDtr() override { ++calls; }
    void ClearDtr() override { ++calls; }
    void SetRts() override { ++calls; }
    void ClearRts() override { ++calls; }
    std::uint32_t ReadModemStatus() override {
        ++calls;
        return 0;  // nothing pulls the line low: every byte reads 0xFF
    }
    std::uint64_t calls = 0;
};

enum class Op : std::uint8_t { SetDtr, ClearDtr, SetRts, ClearRts, Status };

class RecordingLines final : public ModemLines {
public:
    explicit RecordingLines(ModemLines& inner) : inner_(inner) {}
    void SetDtr() override { ops.push_back(Op::SetDtr); inner_.SetDtr(); }
    void ClearDtr() override { ops.push_back(Op::ClearDtr); inner_.ClearDtr(); }
    void SetRts() override { ops.push_back(Op::SetRts); inner_.SetRts(); }
    void ClearRts() override { ops.push_back(Op::ClearRts); inner_.ClearRts(); }
    std::uint32_t ReadModemStatus() override { ops.push_back(Op::Status); return inner_.ReadModemStatus(); }
    std::vector<Op> ops;

private:
    ModemLines& inner_;
};

enum Transfer { kRead, kWrite, kVerify };

// The image every transfer moves: all 0xFF, which is also what the memory
// holds, so verification compares every byte.
std::vector<std::uint8_t> Image() { return std::vector<std::uint8_t>(1120, 0xFF); }

void Prepare(SimulatedModule& sim, const Profile& p) {
    std::copy(p.marker.begin(), p.marker.end(), sim.Memory().begin());
    std::copy(std::begin(kDeviceTypeSignature), std::end(kDeviceTypeSignature), sim.Memory().begin() + 20);
}

void Run(Transfer t, TwoWireBus& bus, std::vector<std::uint8_t>& image) {
    NullProgress progress;
    const Profile& p = FullProfile();
    switch (t) {
        case kRead: ReadConfig(bus, p, image, progress); break;
        case kWrite: WriteConfig(bus, p, image, progress); break;
        case kVerify:
            if (!VerifyConfig(bus, p, image, progress).Ok()) throw std::runtime_error("verify stopped early");
            break;
    }
}

void SetPerCall(benchmark::State& state, std::uint64_t calls) {
    state.counters["calls"] = static_cast<double>(calls) / static_cast<double>(state.iterations());
    // Inverting a rate of (calls / 1e9) per second gives nanoseconds per call.
    state.counters["ns_per_call"] = benchmark::Counter(static_cast<double>(calls) / 1e9,
                                                       benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_BusOnSimulator(benchmark::State& state) {
    const auto t = static_cast<Transfer>(state.range(0));
    SimulatedModule sim;
    Prepare(sim, FullProfile());
    TwoWireBus bus(sim, sim.Sleeper());
    auto image = Image();
    for (auto _ : state) Run(t, bus, image);
    SetPerCall(state, sim.GetCounters().Total());
}

void BM_BusOnBareLines(benchmark::State& state) {
    const auto t = static_cast<Transfer>(state.range(0));
    CountingLines lines;
    TwoWireBus bus(lines, [](auto) {});
    auto image = Image();
    for (auto _ : state) Run(t, bus, image);
    SetPerCall(state, lines.calls);
}

void BM_SimulatorReplay(benchmark::State& state) {
    const auto t = static_cast<Transfer>(state.range(0));
    SimulatedModule recordSim;
    Prepare(recordSim, FullProfile());
    RecordingLines recorder(recordSim);
    TwoWireBus bus(recorder, recordSim.Sleeper());
    auto image = Image();
    Run(t, bus, image);

    SimulatedModule sim;
    Prepare(sim, FullProfile());
    std::uint64_t calls = 0;
    for (auto _ : state) {
        for (Op op : recorder.ops) {
            switch (op) {
                case Op::SetDtr: sim.SetDtr(); break;
                case Op::ClearDtr: sim.ClearDtr(); break;
                case Op::SetRts: sim.SetRts(); break;
                case Op::ClearRts: sim.ClearRts(); break;
                case Op::Status: benchmark::DoNotOptimize(sim.ReadModemStatus()); break;
            }
        }
        sim.Advance(100'000'000);  // the waits the bus would have made
        calls += recorder.ops.size();
    }
    SetPerCall(state, calls);
}

#define TRANSFERS ->ArgName("read0_write1_verify2")->Arg(kRead)->Arg(kWrite)->Arg(kVerify)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_BusOnSimulator) TRANSFERS;
BENCHMARK(BM_BusOnBareLines) TRANSFERS;
BENCHMARK(BM_SimulatorReplay) TRANSFERS;

}  // namespace
}  // namespace korvex

BENCHMARK_MAIN();
