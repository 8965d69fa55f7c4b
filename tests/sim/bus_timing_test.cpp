// Both bus timings on every port model: the same bytes in the memory, the
// same outcome for every fault, and what each costs.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "link/bus_error.h"
#include "link/device_link.h"
#include "link/line_probe.h"
#include "link/serial_exception.h"
#include "link/stream_lines.h"
#include "log/log_transfer.h"
#include "sim/demo.h"
#include "sim/port_model.h"
#include "sim/simulated_ft232r.h"
#include "sim/simulated_module.h"
#include "sim/transfer_estimate.h"
#include "voice/voice_store.h"
#include "voice/voice_transfer.h"
#include "voice/wav_buffer.h"

namespace korvex {
namespace {

using Memory = std::array<std::uint8_t, SimulatedModule::kSize>;

enum class Outcome { Ok, NotConnected, Mismatch, PortFailed, WriteCycleTimeout, Refused };

const char* Name(Outcome o) {
    switch (o) {
        case Outcome::Ok: return "Ok";
        case Outcome::NotConnected: return "NotConnected";
        case Outcome::Mismatch: return "Mismatch";
        case Outcome::PortFailed: return "PortFailed";
        case Outcome::WriteCycleTimeout: return "WriteCycleTimeout";
        case Outcome::Refused: return "Refused";
    }
    return "?";
}

Outcome From(const LinkOutcome& o) {
    switch (o.result) {
        case LinkResult::Ok: return Outcome::Ok;
        case LinkResult::Mismatch: return Outcome::Mismatch;
        default: return Outcome::NotConnected;
    }
}

// An image that differs from the demo configuration in one field's worth of
// bytes and in the date, as a one-field edit does.
std::vector<std::uint8_t> EditedImage(const Memory& before) {
    const Profile& p = FullProfile();
    std::vector<std::uint8_t> image(before.begin(), before.begin() + static_cast<std::ptrdiff_t>(p.imageSize));
    image[600] ^= 0x5A;
    image[601] ^= 0x33;
    image[30] ^= 0x01;  // the date
    return image;
}

// A voice store with every slot filled by a pattern, lengths as given.
std::unique_ptr<VoiceStore> PatternStore(const std::vector<std::uint16_t>& lengths) {
    auto store = std::make_unique<VoiceStore>(FullProfile());
    for (int slot = 0; slot < store->SlotCount(); ++slot) {
        const auto s = static_cast<std::size_t>(slot);
        store->slotLength[s] = s < lengths.size() ? lengths[s] : 0;
        auto area = store->Area(slot);
        for (std::size_t i = 0; i < area.size(); ++i) area[i] = static_cast<std::uint8_t>(i * 31 + slot * 7 + (i >> 8));
    }
    return store;
}

// What the full voice memory takes: 30 KiB over six slots.
const std::vector<std::uint16_t> kFullVoice = {5120, 5120, 5120, 5120, 5120, 5120};

struct Op {
    const char* name;
    // Runs the operation; `got` collects what it read, for the read ones.
    std::function<LinkOutcome(TwoWireBus&, std::vector<std::uint8_t>& got)> run;
};

const Op kOps[] = {
    {"config read",
     [](TwoWireBus& bus, std::vector<std::uint8_t>& got) {
         NullProgress progress;
         got.assign(FullProfile().imageSize, 0);
         return ReadDataFromModule(bus, FullProfile(), got, progress);
     }},
    {"config write and verify",
     [](TwoWireBus& bus, std::vector<std::uint8_t>&) {
         NullProgress progress;
         const Memory demo = MakeDemoMemory(FullProfile());
         const LinkOutcome check = CheckModule(bus, FullProfile());
         if (!check.Ok()) return check;
         return WriteDataToModule(bus, FullProfile(), EditedImage(demo), progress);
     }},
    {"log read",
     [](TwoWireBus& bus, std::vector<std::uint8_t>& got) {
         NullProgress progress;
         LogBytes raw{};
         std::vector<LogRecord> records;
         const LinkOutcome o = ReadLog(bus, FullProfile(), progress, records, raw);
         got.assign(raw.begin(), raw.end());
         return o;
     }},
    {"log erase",
     [](TwoWireBus& bus, std::vector<std::uint8_t>&) {
         NullProgress progress;
         return ClearLog(bus, FullProfile(), progress);
     }},
    {"voice write and verify",
     [](TwoWireBus& bus, std::vector<std::uint8_t>&) {
         NullProgress progress;
         auto store = PatternStore(kFullVoice);
         const VoiceWriteOutcome o = WriteAllSlots(bus, *store, progress);
         if (!o.check.Ok()) return o.check;
         if (!o.mismatches.empty()) return LinkOutcome{LinkResult::Mismatch, o.mismatches.front().address};
         return LinkOutcome{};
     }},
    {"voice read",
     [](TwoWireBus& bus, std::vector<std::uint8_t>& got) {
         NullProgress progress;
         auto store = std::make_unique<VoiceStore>(FullProfile());
         auto wav = std::make_unique<WavBuffer>(FullProfile());
         const LinkOutcome o = ReadAllSlots(bus, *store, *wav, progress);
         got.clear();
         for (int slot = 0; slot < store->SlotCount(); ++slot) {
             const auto n = std::min<std::size_t>(store->slotLength[static_cast<std::size_t>(slot)], 30720);
             const auto area = store->Area(slot).first(n);
             got.insert(got.end(), area.begin(), area.end());
         }
         return o;
     }},
};

// The demo module with the pattern voice written into it, so the reads have
// real voice data to fetch.
const Memory& Starting() {
    static const Memory memory = [] {
        auto sim = std::make_unique<SimulatedModule>();
        sim->Memory() = MakeDemoMemory(FullProfile());
        TwoWireBus bus(*sim, sim->Sleeper(), sim->Clock());
        std::vector<std::uint8_t> unused;
        EXPECT_TRUE(kOps[4].run(bus, unused).Ok());
        return sim->Memory();
    }();
    return memory;
}

struct Result {
    Outcome outcome = Outcome::Ok;
    Memory memory{};
    std::vector<std::uint8_t> got;
    double seconds = 0;
    std::uint64_t pageWrites = 0;
};

Result RunOp(const Op& op, const PortModel& model, BusTiming timing,
           const std::function<void(SimulatedModule&)>& arrange = {}) {
    auto sim = std::make_unique<SimulatedModule>();
    sim->Memory() = Starting();
    sim->SetPortModel(model);
    if (arrange) arrange(*sim);
    const LineProbe probe = ProbeLines(*sim, sim->Clock());
    TwoWireBus bus(*sim, sim->Sleeper(), sim->Clock());
    bus.SetTiming(timing);
    bus.SetGuard(probe.Guard());
    Result r;
    const std::uint64_t begin = sim->NowNs();
    try {
        r.outcome = From(op.run(bus, r.got));
    } catch (const CSerialException&) {
        r.outcome = Outcome::PortFailed;
    } catch (const BusError& e) {
        r.outcome = e.GetKind() == BusError::Kind::WriteCycleTimeout ? Outcome::WriteCycleTimeout : Outcome::Refused;
    }
    r.seconds = static_cast<double>(sim->NowNs() - begin) / 1e9;
    r.memory = sim->Memory();
    r.pageWrites = sim->WriteCycles();
    return r;
}

// The same operation with the bus driving a simulated FT232R in bit-bang
// mode in front of the module; `seen` gets every batch it was sent.
Result RunStreamed(const Op& op, const std::function<void(SimulatedModule&)>& arrange = {},
                   std::vector<std::vector<std::uint8_t>>* seen = nullptr) {
    auto sim = std::make_unique<SimulatedModule>();
    sim->Memory() = Starting();
    if (arrange) arrange(*sim);
    SimulatedFt232r chip(*sim);
    struct Seeing final : PinStream {
        PinStream& inner;
        std::vector<std::vector<std::uint8_t>>* seen;
        Seeing(PinStream& i, std::vector<std::vector<std::uint8_t>>* s) : inner(i), seen(s) {}
        std::size_t BatchTicks() const override { return inner.BatchTicks(); }
        void Exchange(std::span<const std::uint8_t> ticks, std::span<std::uint8_t> samples) override {
            if (seen) seen->emplace_back(ticks.begin(), ticks.end());
            inner.Exchange(ticks, samples);
        }
    } stream(chip, seen);
    StreamLines lines(stream);
    TwoWireBus bus(lines, sim->Sleeper(), sim->Clock());
    bus.SetTiming(BusTiming::Fast);
    bus.SetStream(&stream);
    Result r;
    const std::uint64_t begin = sim->NowNs();
    try {
        r.outcome = From(op.run(bus, r.got));
    } catch (const CSerialException&) {
        r.outcome = Outcome::PortFailed;
    } catch (const BusError& e) {
        r.outcome = e.GetKind() == BusError::Kind::WriteCycleTimeout ? Outcome::WriteCycleTimeout : Outcome::Refused;
    }
    r.seconds = static_cast<double>(sim->NowNs() - begin) / 1e9;
    r.memory = sim->Memory();
    r.pageWrites = sim->WriteCycles();
    return r;
}

// What a read should have found in the memory it started from.
std::vector<std::uint8_t> Expected(const Op& op) {
    auto sim = std::make_unique<SimulatedModule>();
    sim->Memory() = Starting();
    TwoWireBus bus(*sim, sim->Sleeper(), sim->Clock());
    std::vector<std::uint8_t> got;
    EXPECT_TRUE(op.run(bus, got).Ok()) << op.name;
    return got;
}

bool CachedStatus(const PortModel& m) { return m.statusRefreshNs != 0; }

TEST(BusTimings, SameBytesInTheMemoryOnEveryPortModel) {
    for (const Op& op : kOps) {
        const std::vector<std::uint8_t> expected = Expected(op);
        for (const PortModel& model : PortModels()) {
            if (model.ctsAlwaysOn) continue;  // refused by the probe; see below
            const Result spec = RunOp(op, model, BusTiming::Spec);
            const Result fast = RunOp(op, model, BusTiming::Fast);
            SCOPED_TRACE(std::string(op.name) + " on " + std::string(model.name));
            // The fast timing reads every byte right on every port.
            EXPECT_EQ(fast.outcome, Outcome::Ok) << Name(fast.outcome);
            EXPECT_EQ(fast.got, expected);
            if (!CachedStatus(model)) {
                EXPECT_EQ(spec.outcome, Outcome::Ok) << Name(spec.outcome);
                EXPECT_EQ(spec.got, expected);
                EXPECT_TRUE(spec.memory == fast.memory);
            }
        }
    }
}

// A cached status answers a sample taken soon after a line change with the
// level from before it: the standard timing, which samples within
// microseconds of the clock edge, reads such a port wrong.
TEST(BusTimings, TheStandardTimingMisreadsACachedStatus) {
    for (const char* name : {"ch340", "pl2303"}) {
        const Result spec = RunOp(kOps[0], *FindPortModel(name), BusTiming::Spec);
        EXPECT_NE(spec.outcome, Outcome::Ok) << name << ": the marker does not even read back";
        // Its checks fail, so it writes the marker again: memory it never should touch.
        const Result fast = RunOp(kOps[0], *FindPortModel(name), BusTiming::Fast);
        EXPECT_EQ(fast.outcome, Outcome::Ok) << name;
        EXPECT_TRUE(fast.memory == Starting()) << name;
    }
}

struct FaultCase {
    const char* name;
    std::function<void(SimulatedModule&)> arrange;
    Outcome spec;
    Outcome fast;  // where it differs, the fast timing repairs a fault that passes
};

TEST(BusTimings, EveryFaultEndsAlikeInBothTimings) {
    const FaultCase cases[] = {
        {"absent", [](SimulatedModule& m) { m.GetFaults().absent = true; }, Outcome::NotConnected,
         Outcome::NotConnected},
        {"write-protect", [](SimulatedModule& m) { m.GetFaults().writeProtect = true; }, Outcome::Mismatch,
         Outcome::Mismatch},
        {"pull", [](SimulatedModule& m) { m.GetFaults().pullAfterCalls = m.GetCounters().Total() + 20000; },
         Outcome::PortFailed, Outcome::PortFailed},
        // One flipped bit on the way: the standard timing reports it, the fast
        // one writes the run again and finds it right.
        {"flip-write", [](SimulatedModule& m) { m.GetFaults().flipWriteAt = 70; }, Outcome::Mismatch, Outcome::Ok},
        {"flip-read", [](SimulatedModule& m) { m.GetFaults().flipReadAt = 120; }, Outcome::Mismatch, Outcome::Ok},
    };
    const Op& write = kOps[1];
    for (const FaultCase& c : cases) {
        for (const char* model : {"native", "ftdi"}) {
            const Result spec = RunOp(write, *FindPortModel(model), BusTiming::Spec, c.arrange);
            const Result fast = RunOp(write, *FindPortModel(model), BusTiming::Fast, c.arrange);
            EXPECT_EQ(spec.outcome, c.spec) << c.name << " on " << model << ": " << Name(spec.outcome);
            EXPECT_EQ(fast.outcome, c.fast) << c.name << " on " << model << ": " << Name(fast.outcome);
            if (fast.outcome == Outcome::Ok) {
                const auto image = EditedImage(MakeDemoMemory(FullProfile()));
                EXPECT_TRUE(std::equal(image.begin() + 24, image.end(), fast.memory.begin() + 24)) << c.name;
            }
            if (c.spec != Outcome::Ok) {
                EXPECT_LE(fast.seconds, spec.seconds) << c.name << " on " << model;
            }
        }
    }
}

TEST(BusTimings, ASlowMemoryStopsTheFastWriteWithItsMessage) {
    const auto slow = [](SimulatedModule& m) { m.SetWriteCycle(100'000'000); };
    const Result fast = RunOp(kOps[1], *FindPortModel("native"), BusTiming::Fast, slow);
    EXPECT_EQ(fast.outcome, Outcome::WriteCycleTimeout);
    // The standard timing writes on into a busy memory and finds out at the verify.
    const Result spec = RunOp(kOps[1], *FindPortModel("native"), BusTiming::Spec, slow);
    EXPECT_EQ(spec.outcome, Outcome::Mismatch);
    const BusError e(BusError::Kind::WriteCycleTimeout, 2111);
    EXPECT_EQ(BusErrorText(FullProfile(), e), "Память модуля не закончила запись за 70 мс, адрес 2111");
}

TEST(BusTimings, FastLeavesNoLineWhereItWas) {
    auto sim = std::make_unique<SimulatedModule>();
    sim->Memory() = Starting();
    std::ostringstream trace;
    sim->SetTrace(&trace);
    TwoWireBus bus(*sim, sim->Sleeper(), sim->Clock());
    bus.SetTiming(BusTiming::Fast);
    bus.Release();
    std::vector<std::uint8_t> got;
    EXPECT_TRUE(kOps[1].run(bus, got).Ok());
    std::istringstream lines(trace.str());
    std::string call, lastDtr, lastRts;
    int changes = 0;
    while (std::getline(lines, call)) {
        if (call == "ReadModemStatus") continue;
        std::string& last = call.ends_with("Dtr") ? lastDtr : lastRts;
        EXPECT_NE(call, last) << "a call that changes nothing, after " << changes << " changes";
        last = call;
        ++changes;
    }
    EXPECT_GT(changes, 1000);
}

TEST(BusTimings, FastWritesOnlyTheRunsThatDiffer) {
    const Memory demo = MakeDemoMemory(FullProfile());
    const std::vector<std::uint8_t> image = EditedImage(demo);
    const std::vector<std::uint8_t> known(demo.begin(), demo.begin() + 1120);
    EXPECT_EQ(ChangedRuns(FullProfile(), image, known).size(), 2u);  // the date's and the field's
    EXPECT_EQ(ChangedRuns(FullProfile(), image, {}).size(), 18u);    // nothing known: all of them

    for (BusTiming timing : {BusTiming::Spec, BusTiming::Fast}) {
        auto sim = std::make_unique<SimulatedModule>();
        sim->Memory() = demo;
        TwoWireBus bus(*sim, sim->Sleeper(), sim->Clock());
        bus.SetTiming(timing);
        NullProgress progress;
        EXPECT_TRUE(WriteDataToModule(bus, FullProfile(), image, progress, known).Ok());
        EXPECT_EQ(sim->WriteCycles(), timing == BusTiming::Fast ? 2u : 18u);
        EXPECT_TRUE(std::equal(image.begin() + 24, image.end(), sim->Memory().begin() + 24));
    }
}

// A module holding `memory` on the fast timing, and the File page's voice
// store and WAV buffer for it.
struct FastVoice {
    explicit FastVoice(const Memory& memory) {
        sim->Memory() = memory;
        bus.SetTiming(BusTiming::Fast);
    }
    // Every slot read into the store, which then knows what the module holds.
    LinkOutcome ReadAll() { return ReadAllSlots(bus, *store, *wav, progress); }

    std::unique_ptr<SimulatedModule> sim = std::make_unique<SimulatedModule>();
    TwoWireBus bus{*sim, sim->Sleeper(), sim->Clock()};
    NullProgress progress;
    std::unique_ptr<VoiceStore> store = std::make_unique<VoiceStore>(FullProfile());
    std::unique_ptr<WavBuffer> wav = std::make_unique<WavBuffer>(FullProfile());
};

TEST(BusTimings, FastVoiceWriteSkipsTheSlotsTheModuleHolds) {
    FastVoice m(Starting());
    ASSERT_TRUE(m.ReadAll().Ok());
    m.store->Area(2)[10] ^= 0xFF;  // one slot edited in place
    const std::uint64_t before = m.sim->WriteCycles();
    EXPECT_TRUE(WriteAllSlots(m.bus, *m.store, m.progress).Ok());
    // The directory's page and slot 3's pages; no other slot is touched.
    EXPECT_EQ(m.sim->WriteCycles() - before, 1u + 5120 / 64);
    EXPECT_EQ(m.sim->Memory()[m.store->slotStart[2] + 10], m.store->Area(2)[10]);
}

// A slot write cut off half way leaves neither its old bytes nor the new
// ones in the module: reverting the edit must not make the slot look held.
TEST(BusTimings, ACutOffVoiceWriteLeavesTheSlotNotHeld) {
    FastVoice m(Starting());
    ASSERT_TRUE(m.ReadAll().Ok());
    const std::uint32_t at = m.store->slotStart[1] + 10u;
    const std::uint8_t original = m.sim->Memory()[at];
    m.store->Area(1)[10] ^= 0xFF;

    // What the whole write costs, measured on a copy; the cable is pulled half way.
    FastVoice copy(m.sim->Memory());
    *copy.store = *m.store;
    ASSERT_TRUE(WriteAllSlots(copy.bus, *copy.store, copy.progress).Ok());
    m.sim->GetFaults().pullAfterCalls = m.sim->GetCounters().Total() + copy.sim->GetCounters().Total() / 2;
    EXPECT_THROW(static_cast<void>(WriteAllSlots(m.bus, *m.store, m.progress)), CSerialException);
    ASSERT_NE(m.sim->Memory()[at], original);  // the edited page reached the module

    m.sim->GetFaults().pullAfterCalls = 0;
    m.sim->Advance(1'000'000'000);  // the port opened again a second later
    RecoverBus(*m.sim);
    TwoWireBus reopened(*m.sim, m.sim->Sleeper(), m.sim->Clock());
    reopened.SetTiming(BusTiming::Fast);
    m.store->Area(1)[10] = original;
    ASSERT_TRUE(WriteAllSlots(reopened, *m.store, m.progress).Ok());
    EXPECT_EQ(m.sim->Memory()[at], original);
}

TEST(BitBang, SameBytesInTheMemoryAndTheSameReadsAsTheLineCalls) {
    for (const Op& op : kOps) {
        SCOPED_TRACE(op.name);
        const Result lines = RunOp(op, DefaultPortModel(), BusTiming::Spec);
        const Result streamed = RunStreamed(op);
        EXPECT_EQ(streamed.outcome, Outcome::Ok) << Name(streamed.outcome);
        EXPECT_EQ(streamed.got, lines.got);
        EXPECT_TRUE(streamed.memory == lines.memory);
    }
}

// One line a tick: the clock and the data never change in the same tick, so
// the order of every change the bus makes reaches the memory as it was meant.
TEST(BitBang, EveryTickChangesAtMostOneLineAndNoBatchIsOverTheChipsBuffer) {
    std::vector<std::vector<std::uint8_t>> seen;
    ASSERT_EQ(RunStreamed(kOps[4], {}, &seen).outcome, Outcome::Ok);
    std::uint8_t last = 0;
    std::uint64_t ticks = 0;
    for (const auto& batch : seen) {
        EXPECT_LE(batch.size(), BitBangTiming{}.batchTicks);
        for (std::uint8_t tick : batch) {
            const std::uint8_t changed = (tick ^ last) & (kTickDtr | kTickRts);
            ASSERT_NE(changed, kTickDtr | kTickRts) << "tick " << ticks;
            last = tick;
            ++ticks;
        }
    }
    // Written ahead: a 30 KiB voice write goes in full batches but for the
    // polls and the reads that wait for their samples.
    EXPECT_GT(ticks / seen.size(), BitBangTiming{}.batchTicks / 4);
}

TEST(BitBang, EveryFaultEndsAsOnTheFastTiming) {
    const FaultCase cases[] = {
        {"absent", [](SimulatedModule& m) { m.GetFaults().absent = true; }, Outcome::NotConnected,
         Outcome::NotConnected},
        {"write-protect", [](SimulatedModule& m) { m.GetFaults().writeProtect = true; }, Outcome::Mismatch,
         Outcome::Mismatch},
        {"pull", [](SimulatedModule& m) { m.GetFaults().pullAfterCalls = 20000; }, Outcome::PortFailed,
         Outcome::PortFailed},
        {"flip-write", [](SimulatedModule& m) { m.GetFaults().flipWriteAt = 70; }, Outcome::Mismatch, Outcome::Ok},
        {"flip-read", [](SimulatedModule& m) { m.GetFaults().flipReadAt = 120; }, Outcome::Mismatch, Outcome::Ok},
        // Polled, not waited for: a memory slower than 5 ms still gets every page.
        {"slow-cycle", [](SimulatedModule& m) { m.SetWriteCycle(30'000'000); }, Outcome::Ok, Outcome::Ok},
        {"too-slow-cycle", [](SimulatedModule& m) { m.SetWriteCycle(100'000'000); }, Outcome::Mismatch,
         Outcome::WriteCycleTimeout},
    };
    const auto image = EditedImage(MakeDemoMemory(FullProfile()));
    for (const FaultCase& c : cases) {
        const Result fast = RunOp(kOps[1], *FindPortModel("ftdi"), BusTiming::Fast, c.arrange);
        const Result streamed = RunStreamed(kOps[1], c.arrange);
        EXPECT_EQ(fast.outcome, c.fast) << c.name << ": " << Name(fast.outcome);
        EXPECT_EQ(streamed.outcome, c.fast) << c.name << ": " << Name(streamed.outcome);
        if (streamed.outcome == Outcome::Ok) {
            EXPECT_TRUE(std::equal(image.begin() + 24, image.end(), streamed.memory.begin() + 24)) << c.name;
        }
    }
}

// The same cut on a bit-bang cable, where a write's ticks go out a batch
// ahead of their acknowledges: the slot is not believed held either, and
// the next write after the port opens again writes it whole.
TEST(BitBang, ACutOffVoiceWriteLeavesTheSlotNotHeld) {
    struct StreamVoice {
        explicit StreamVoice(SimulatedModule& module)
            : chip(module), lines(chip), bus(lines, module.Sleeper(), module.Clock()) {
            bus.SetTiming(BusTiming::Fast);
            bus.SetStream(&chip);
        }
        SimulatedFt232r chip;
        StreamLines lines;
        TwoWireBus bus;
    };
    FastVoice m(Starting());
    auto cable = std::make_unique<StreamVoice>(*m.sim);
    ASSERT_TRUE(ReadAllSlots(cable->bus, *m.store, *m.wav, m.progress).Ok());
    const std::uint32_t at = m.store->slotStart[1] + 10u;
    const std::uint8_t original = m.sim->Memory()[at];
    m.store->Area(1)[10] ^= 0xFF;
    m.sim->GetFaults().pullAfterCalls = m.sim->GetCounters().Total() + 150000;
    EXPECT_THROW(static_cast<void>(WriteAllSlots(cable->bus, *m.store, m.progress)), CSerialException);
    ASSERT_NE(m.sim->Memory()[at], original);  // the edited page reached the module
    EXPECT_FALSE(m.store->held[1].has_value());

    m.sim->GetFaults().pullAfterCalls = 0;
    cable = std::make_unique<StreamVoice>(*m.sim);  // opened again
    RecoverBus(cable->lines);
    m.store->Area(1)[10] = original;
    ASSERT_TRUE(WriteAllSlots(cable->bus, *m.store, m.progress).Ok());
    EXPECT_EQ(m.sim->Memory()[at], original);
}

TEST(LineProbe, MeasuresEachModelWithinATenth) {
    for (const PortModel& model : PortModels()) {
        auto sim = std::make_unique<SimulatedModule>();
        sim->Memory() = Starting();
        sim->SetPortModel(model);
        std::ostringstream trace;
        sim->SetTrace(&trace);
        const std::uint64_t begin = sim->NowNs();
        const LineProbe probe = ProbeLines(*sim, sim->Clock());
        SCOPED_TRACE(std::string(model.name));
        EXPECT_NEAR(static_cast<double>(probe.setNs), static_cast<double>(model.setNs), model.setNs * 0.1);
        EXPECT_NEAR(static_cast<double>(probe.readNs), static_cast<double>(model.readNs), model.readNs * 0.1);
        if (model.ctsAlwaysOn) {
            EXPECT_EQ(probe.verdict, LineProbe::Verdict::CtsStuckOn);
            EXPECT_NE(DescribeProbe(probe).find("CTS does not follow RTS"), std::string::npos);
        } else {
            EXPECT_EQ(probe.verdict, LineProbe::Verdict::Ok);
            EXPECT_EQ(probe.liveStatus, !CachedStatus(model));
            if (CachedStatus(model)) {
                EXPECT_NEAR(static_cast<double>(probe.statusDelayNs), static_cast<double>(model.statusRefreshNs),
                            model.statusRefreshNs * 0.1);
                EXPECT_GE(probe.Guard(), std::chrono::nanoseconds(model.statusRefreshNs));
            } else {
                EXPECT_EQ(probe.Guard(), kMinGuard);
            }
        }
        EXPECT_LT(sim->NowNs() - begin, 1'000'000'000u);
        // Never written: the memory is as it was, and the clock never rose
        // while the data line moved.
        EXPECT_TRUE(sim->Memory() == Starting());
        EXPECT_EQ(sim->WriteCycles(), 0u);
        std::istringstream lines(trace.str());
        std::string call;
        bool clockLow = false;
        while (std::getline(lines, call)) {
            if (call == "SetDtr") clockLow = true;
            if (call == "ClearDtr") clockLow = false;
            if (call.ends_with("Rts")) {
                EXPECT_TRUE(clockLow) << "data moved with the clock high";
            }
        }
    }
}

// A transfer cut off half way leaves the memory sending a byte (holding the
// data line low) or holding a page it was never told to store.
TEST(LineProbe, ACutOffTransferIsBroughtToRestNotMistakenForABadCable) {
    const std::function<void(TwoWireBus&)> cuts[] = {
        [](TwoWireBus& bus) {
            bus.BeginRead(0);
            bus.ReadByteAck();
            bus.ReadByteAck();
        },
        [](TwoWireBus& bus) {
            bus.BeginWrite(100);
            for (int i = 0; i < 10; ++i) bus.WriteByte(0x00);
        },
    };
    for (const auto& cut : cuts) {
        auto sim = std::make_unique<SimulatedModule>();
        sim->Memory() = Starting();
        TwoWireBus bus(*sim, sim->Sleeper(), sim->Clock());
        cut(bus);
        RecoverBus(*sim);
        EXPECT_EQ(ProbeLines(*sim, sim->Clock()).verdict, LineProbe::Verdict::Ok);
        EXPECT_TRUE(sim->Memory() == Starting());
        EXPECT_EQ(sim->WriteCycles(), 0u);
    }
}

TEST(LineProbe, TakesUnderASecondOnAMillisecondPort) {
    for (bool stuck : {false, true}) {
        auto sim = std::make_unique<SimulatedModule>();
        PortModel slow = DefaultPortModel();
        slow.setNs = slow.readNs = 1'000'000;
        slow.ctsAlwaysOn = stuck;
        sim->SetPortModel(slow);
        ProbeLines(*sim, sim->Clock());
        EXPECT_LT(sim->NowNs(), 1'000'000'000u) << (stuck ? "stuck" : "working");
    }
}

TEST(TransferEstimate, MatchesWhatTheBitBangTransferTakes) {
    auto sim = std::make_unique<SimulatedModule>();
    SimulatedFt232r chip(*sim);
    StreamLines lines(chip);
    LineProbe probe = ProbeLines(lines, sim->Clock());
    probe.pinStream = true;  // as the port's bus says
    for (const Op& op : {kOps[0], kOps[1], kOps[4]}) {
        const double estimate = EstimateSeconds(CostsFrom(probe), BusTiming::Fast, Starting(), [&](TwoWireBus& bus) {
            std::vector<std::uint8_t> got;
            static_cast<void>(op.run(bus, got));  // a dry run: only its exchanges are priced
        });
        const double actual = RunStreamed(op).seconds;
        EXPECT_NEAR(estimate, actual, actual * 0.1) << op.name;
    }
}

TEST(TransferEstimate, MatchesWhatTheTransferTakes) {
    for (const char* name : {"native", "ftdi", "ch340"}) {
        const PortModel& model = *FindPortModel(name);
        auto sim = std::make_unique<SimulatedModule>();
        sim->SetPortModel(model);
        const PortCosts costs = CostsFrom(ProbeLines(*sim, sim->Clock()));
        for (BusTiming timing : {BusTiming::Spec, BusTiming::Fast}) {
            // The standard timing misreads a cached status and stops early; the
            // estimate is for the transfer it should have made.
            if (timing == BusTiming::Spec && CachedStatus(model)) continue;
            for (const Op& op : {kOps[0], kOps[1]}) {
                const double estimate = EstimateSeconds(costs, timing, Starting(), [&](TwoWireBus& bus) {
                    std::vector<std::uint8_t> got;
                    static_cast<void>(op.run(bus, got));  // a dry run: only its bus calls are priced
                });
                const double actual = RunOp(op, model, timing).seconds;
                EXPECT_NEAR(estimate, actual, actual * 0.1) << op.name << " on " << name;
            }
        }
    }
    EXPECT_EQ(AboutText(47.2, true), "about 48 s");
    EXPECT_EQ(AboutText(190, false), "около 3 мин 10 с");
    EXPECT_EQ(SecondsText(1.94, false), "1,9 с");
}

}  // namespace
}  // namespace korvex
