// A session cut off at any line call, in the middle of a bit as much as at a
// byte's end, and the next session opened on the same module: the memory
// keeps its bus state between them, as a powered chip does, and the
// recovery at the start of the next session stores nothing.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "link/device_link.h"
#include "link/serial_exception.h"
#include "sim/demo.h"
#include "sim/port_bus.h"
#include "sim/port_factory.h"
#include "sim/simulated_module.h"

namespace korvex {
namespace {

using Memory = std::array<std::uint8_t, SimulatedModule::kSize>;

// The same module opened again, as the next program finds it on the cable.
class SameModulePort final : public ModulePort {
public:
    explicit SameModulePort(SimulatedModule& module) : module_(module) {}
    ModemLines& Lines() override { return module_; }
    SleepFn Sleeper() override { return module_.Sleeper(); }
    SimulatedModule* Simulated() override { return &module_; }

private:
    SimulatedModule& module_;
};

struct Cut {
    const char* name;
    // The transaction the first session is in when its cable goes; it
    // never reaches its stop condition.
    std::function<void(TwoWireBus&)> unfinished;
};

// 0x00 bytes hold the data line low through every bit: a cut with the
// clock high is then a clock high over a low data line, which a release
// of the data line turns into a stop condition.
const Cut kCuts[] = {
    {"page write",
     [](TwoWireBus& bus) {
         bus.BeginWrite(100);
         for (int i = 0; i < 3; ++i) bus.WriteByte(0x00);
         bus.Lines().SetRts();    // what Stop drives first: data low,
         bus.Lines().ClearDtr();  // then the clock high
     }},
    {"sequential read",
     [](TwoWireBus& bus) {
         bus.BeginRead(24);
         for (int i = 0; i < 2; ++i) bus.ReadByteAck();
     }},
};

std::uint64_t CallsOf(const std::function<void(TwoWireBus&)>& unfinished, const Memory& memory) {
    auto sim = std::make_unique<SimulatedModule>();
    sim->Memory() = memory;
    TwoWireBus bus(*sim, sim->Sleeper(), sim->Clock());
    unfinished(bus);
    return sim->GetCounters().Total();
}

TEST(BusRecovery, ACutAtAnyLineCallStoresNothingAndTheNextSessionReadsTheModule) {
    const Memory before = MakeDemoMemory(FullProfile());
    for (const Cut& cut : kCuts) {
        SCOPED_TRACE(cut.name);
        std::vector<std::uint64_t> stored, misread;  // the cut points that went wrong
        const std::uint64_t calls = CallsOf(cut.unfinished, before);
        for (std::uint64_t at = 1; at <= calls; ++at) {
            auto sim = std::make_unique<SimulatedModule>();
            sim->Memory() = before;
            {
                TwoWireBus first(*sim, sim->Sleeper(), sim->Clock());
                sim->GetFaults().pullAfterCalls = at;
                try {
                    cut.unfinished(first);
                } catch (const CSerialException&) {
                }
            }
            sim->GetFaults().pullAfterCalls = 0;  // the cable back in
            SameModulePort port(*sim);
            PortBus second(port, BusTiming::Spec);  // brings the bus to rest and probes it
            if (sim->WriteCycles() != 0 || sim->Memory() != before) stored.push_back(at);
            std::vector<std::uint8_t> read(128);  // the marker and the bytes the page write was sending
            second.Bus().ReadSequential(0, read);
            if (!std::equal(read.begin(), read.end(), before.begin())) misread.push_back(at);
        }
        EXPECT_EQ(stored, std::vector<std::uint64_t>{}) << "of " << calls << " cut points";
        EXPECT_EQ(misread, std::vector<std::uint64_t>{}) << "of " << calls << " cut points";
    }
}

}  // namespace
}  // namespace korvex
