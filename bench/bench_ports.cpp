// What each transfer costs on each kind of port, in the port's own (virtual)
// seconds, with both bus timings side by side. Every run starts from the
// demo module with a full voice memory, probes the port as a program does
// on opening it and runs one operation; the table at the end is the
// README's.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "link/device_link.h"
#include "link/line_probe.h"
#include "link/stream_lines.h"
#include "log/log_transfer.h"
#include "sim/demo.h"
#include "sim/port_model.h"
#include "sim/simulated_ft232r.h"
#include "sim/simulated_module.h"
#include "voice/voice_store.h"
#include "voice/voice_transfer.h"
#include "voice/wav_buffer.h"

namespace korvex {
namespace {

using Memory = std::array<std::uint8_t, SimulatedModule::kSize>;
const Profile& P() { return FullProfile(); }

std::unique_ptr<VoiceStore> FullVoice() {
    auto store = std::make_unique<VoiceStore>(P());
    for (int slot = 0; slot < store->SlotCount(); ++slot) {
        store->slotLength[static_cast<std::size_t>(slot)] = 5120;  // 30 KiB in all
        auto area = store->Area(slot);
        for (std::size_t i = 0; i < area.size(); ++i) area[i] = static_cast<std::uint8_t>(i * 31 + slot * 7 + (i >> 8));
    }
    return store;
}

const Memory& Starting() {
    static const Memory memory = [] {
        auto sim = std::make_unique<SimulatedModule>();
        sim->Memory() = MakeDemoMemory(P());
        TwoWireBus bus(*sim, sim->Sleeper(), sim->Clock());
        NullProgress quiet;
        auto store = FullVoice();
        store->Area(0)[0] ^= 0xFF;  // so the benchmark's voice write changes every slot's bytes
        // A fresh demo module takes every slot; the benchmarks need only its memory.
        static_cast<void>(WriteAllSlots(bus, *store, quiet));
        return sim->Memory();
    }();
    return memory;
}

std::vector<std::uint8_t> Edited() {
    std::vector<std::uint8_t> image(Starting().begin(), Starting().begin() + 1120);
    image[700] ^= 0x01;  // one field
    image[1116 + 3] ^= 0x01;  // and the date, as every write has it
    return image;
}

void Require(const LinkOutcome& o) {
    if (!o.Ok()) throw std::runtime_error("the transfer failed");
}

struct Operation {
    const char* name;
    std::function<void(TwoWireBus&)> run;
};

const Operation kOperations[] = {
    {"configuration read",
     [](TwoWireBus& bus) {
         NullProgress quiet;
         std::vector<std::uint8_t> image(1120);
         Require(ReadDataFromModule(bus, P(), image, quiet));
     }},
    {"configuration write and verify",
     [](TwoWireBus& bus) {
         NullProgress quiet;
         Require(CheckModule(bus, P()));
         Require(WriteDataToModule(bus, P(), Edited(), quiet));
     }},
    {"  the same after a one-field edit",
     [](TwoWireBus& bus) {
         NullProgress quiet;
         Require(CheckModule(bus, P()));
         const std::vector<std::uint8_t> held(Starting().begin(), Starting().begin() + 1120);
         Require(WriteDataToModule(bus, P(), Edited(), quiet, held));
     }},
    {"log read",
     [](TwoWireBus& bus) {
         NullProgress quiet;
         std::vector<LogRecord> records;
         Require(ReadLog(bus, P(), quiet, records));
     }},
    {"log erase and read back",
     [](TwoWireBus& bus) {
         NullProgress quiet;
         Require(ClearLog(bus, P(), quiet));
     }},
    {"voice write and verify (30 KiB)",
     [](TwoWireBus& bus) {
         NullProgress quiet;
         auto store = FullVoice();
         const VoiceWriteOutcome o = WriteAllSlots(bus, *store, quiet);
         if (!o.Ok()) throw std::runtime_error("the voice write failed");
     }},
    {"voice read (30 KiB)",
     [](TwoWireBus& bus) {
         NullProgress quiet;
         auto store = std::make_unique<VoiceStore>(P());
         auto wav = std::make_unique<WavBuffer>(P());
         Require(ReadAllSlots(bus, *store, *wav, quiet));
     }},
};

const char* kModels[] = {"native", "ftdi", "cp210x", "ch340", "pl2303"};

// seconds[operation][model][timing]; negative where the transfer failed.
std::map<std::string, std::map<std::string, double[2]>> g_seconds;
// seconds[operation] on the simulated FT232R in bit-bang mode.
std::map<std::string, double> g_bitBang;

void BM_Transfer(benchmark::State& state, const Operation& op, const PortModel& model, BusTiming timing) {
    double seconds = 0;
    for (auto _ : state) {
        auto sim = std::make_unique<SimulatedModule>();
        sim->Memory() = Starting();
        sim->SetPortModel(model);
        const LineProbe probe = ProbeLines(*sim, sim->Clock());
        TwoWireBus bus(*sim, sim->Sleeper(), sim->Clock());
        bus.SetTiming(timing);
        bus.SetGuard(probe.Guard());
        const std::uint64_t begin = sim->NowNs();
        try {
            op.run(bus);
            seconds = static_cast<double>(sim->NowNs() - begin) / 1e9;
        } catch (const std::exception&) {
            seconds = -1;
        }
    }
    state.counters["virtual_s"] = seconds;
    g_seconds[op.name][std::string(model.name)][timing == BusTiming::Fast ? 1 : 0] = seconds;
}

// The same operation with the bus driving a simulated FT232R in synchronous
// bit-bang mode (1 ms a bulk round trip, the default tick rate), probed
// through its stream as a program probes it.
void BM_BitBang(benchmark::State& state, const Operation& op) {
    double seconds = 0;
    std::uint64_t exchanges = 0;
    for (auto _ : state) {
        auto sim = std::make_unique<SimulatedModule>();
        sim->Memory() = Starting();
        SimulatedFt232r chip(*sim);
        StreamLines lines(chip);
        RecoverBus(lines);
        static_cast<void>(ProbeLines(lines, sim->Clock()));  // priced as an opening pays it, not counted below
        TwoWireBus bus(lines, sim->Sleeper(), sim->Clock());
        bus.SetTiming(BusTiming::Fast);
        bus.SetStream(&chip);
        const std::uint64_t begin = sim->NowNs(), exchangesBefore = chip.Exchanges();
        try {
            op.run(bus);
            seconds = static_cast<double>(sim->NowNs() - begin) / 1e9;
        } catch (const std::exception&) {
            seconds = -1;
        }
        exchanges = chip.Exchanges() - exchangesBefore;
    }
    state.counters["virtual_s"] = seconds;
    state.counters["exchanges"] = static_cast<double>(exchanges);
    g_bitBang[op.name] = seconds;
}

void RegisterAll() {
    for (const Operation& op : kOperations) {
        for (const char* name : kModels) {
            const PortModel& model = *FindPortModel(name);
            for (BusTiming timing : {BusTiming::Spec, BusTiming::Fast}) {
                const std::string id = std::string("BM_Transfer/") + op.name + "/" + name +
                                       (timing == BusTiming::Fast ? "/fast" : "/spec");
                benchmark::RegisterBenchmark(id.c_str(), BM_Transfer, op, model, timing)->Iterations(1);
            }
        }
        const std::string id = std::string("BM_BitBang/") + op.name + "/" + std::string(kBitBangPortName);
        benchmark::RegisterBenchmark(id.c_str(), BM_BitBang, op)->Iterations(1);
    }
}

std::string Cell(double s) {
    if (s < 0) return "wrong bytes";
    char text[32];
    if (s < 60) std::snprintf(text, sizeof text, "%.2f s", s);
    else std::snprintf(text, sizeof text, "%.1f min", s / 60);
    return text;
}

void PrintTable() {
    std::printf("\n| operation (spec / fast) |");
    for (const char* m : kModels) std::printf(" %s |", m);
    std::printf(" %s (fast) |", std::string(kBitBangPortName).c_str());
    std::printf("\n|---|");
    for (std::size_t i = 0; i <= std::size(kModels); ++i) std::printf("---|");
    std::printf("\n");
    for (const Operation& op : kOperations) {
        const auto found = g_seconds.find(op.name);
        if (found == g_seconds.end()) continue;
        std::printf("| %s |", op.name);
        for (const char* m : kModels) {
            const auto& t = found->second[m];
            std::printf(" %s / %s |", Cell(t[0]).c_str(), Cell(t[1]).c_str());
        }
        const auto bitBang = g_bitBang.find(op.name);
        std::printf(" %s |", bitBang == g_bitBang.end() ? "" : Cell(bitBang->second).c_str());
        std::printf("\n");
    }
}

}  // namespace
}  // namespace korvex

int main(int argc, char** argv) {
    korvex::RegisterAll();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    korvex::PrintTable();
    return 0;
}
