// A stop asked for in the middle of a transfer: the bus ends at the next
// safe point, the memory holds whole pages of the new data and the old data
// beyond them, and the next transaction on the same bus works.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "link/bus_error.h"
#include "link/stream_lines.h"
#include "link/two_wire_bus.h"
#include "sim/simulated_ft232r.h"
#include "sim/simulated_module.h"

namespace korvex {
namespace {

constexpr std::uint16_t kStart = 128;  // a page boundary
constexpr std::size_t kPages = 4;

struct StopCase {
    BusTiming timing;
    int stopAtCheck;       // the stop check answers true from its n-th question on (1-based)
    bool bitBang = false;  // through a simulated FT232R's pin stream
};

class StoppedBus : public ::testing::TestWithParam<StopCase> {
protected:
    StoppedBus() : bus_(lines_, module_.Sleeper(), module_.Clock()) {
        bus_.SetTiming(GetParam().timing);
        if (GetParam().bitBang) bus_.SetStream(&chip_);
        std::fill(module_.Memory().begin(), module_.Memory().end(), 0x11);
        bus_.SetStopCheck([this] { return ++asked_ >= GetParam().stopAtCheck; });
    }
    void NoMoreStops() { bus_.SetStopCheck({}); }
    // Stopped means released: the clock and the data line both high.
    void ExpectReleased() {
        const std::uint8_t probe = kTickSample;
        std::uint8_t sample = 0;
        if (GetParam().bitBang) {
            // What the chip still puts out is what the bus left.
            EXPECT_EQ(module_.GetCounters().setDtr, module_.GetCounters().clearDtr);
            EXPECT_EQ(module_.GetCounters().setRts, module_.GetCounters().clearRts);
            chip_.Exchange({&probe, 1}, {&sample, 1});
            EXPECT_EQ(sample, 0) << "the data line is held low";
        }
    }

    SimulatedModule module_;
    SimulatedFt232r chip_{module_};
    StreamLines streamLines_{chip_};
    ModemLines& lines_ = GetParam().bitBang ? static_cast<ModemLines&>(streamLines_) : module_;
    TwoWireBus bus_;
    int asked_ = 0;
};

TEST_P(StoppedBus, AWriteStopsOnlyBetweenWholePages) {
    std::vector<std::uint8_t> data(kPages * 64);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(0x80 + i % 97);
    EXPECT_THROW(bus_.WritePaged(kStart, data), TransferStopped);
    ExpectReleased();
    // A check is asked before each page: the pages before the stop are whole.
    const std::size_t written = static_cast<std::size_t>(GetParam().stopAtCheck - 1) * 64;
    const auto& memory = module_.Memory();
    for (std::size_t i = 0; i < data.size(); ++i) {
        const std::uint8_t expected = i < written ? data[i] : 0x11;
        ASSERT_EQ(memory[kStart + i], expected) << "byte " << kStart + i;
    }
    NoMoreStops();
    std::vector<std::uint8_t> back(data.size());
    bus_.ReadSequential(kStart, back);
    EXPECT_TRUE(std::equal(back.begin(), back.end(), memory.begin() + kStart));
}

TEST_P(StoppedBus, AReadStopsBetweenBytesAndLeavesTheBusReady) {
    for (std::size_t i = 0; i < 300; ++i) module_.Memory()[kStart + i] = static_cast<std::uint8_t>(i * 7);
    std::vector<std::uint8_t> out(300, 0);
    std::size_t stored = 0;
    EXPECT_THROW(bus_.ReadSequential(kStart, out, [&](std::size_t i) { stored = i + 1; }), TransferStopped);
    ExpectReleased();
    // The first question comes before the address, then one before each byte.
    EXPECT_EQ(stored, static_cast<std::size_t>(std::max(0, GetParam().stopAtCheck - 2)));
    for (std::size_t i = 0; i < stored; ++i) ASSERT_EQ(out[i], static_cast<std::uint8_t>(i * 7)) << i;
    NoMoreStops();
    std::vector<std::uint8_t> again(8);
    bus_.ReadSequential(kStart + 64, again);
    for (std::size_t i = 0; i < again.size(); ++i) EXPECT_EQ(again[i], static_cast<std::uint8_t>((64 + i) * 7));
}

INSTANTIATE_TEST_SUITE_P(Timings, StoppedBus,
                         ::testing::Values(StopCase{BusTiming::Spec, 1}, StopCase{BusTiming::Spec, 3},
                                           StopCase{BusTiming::Fast, 2}, StopCase{BusTiming::Fast, 4},
                                           StopCase{BusTiming::Fast, 2, true}, StopCase{BusTiming::Fast, 4, true}),
                         [](const auto& info) {
                             return std::string(info.param.timing == BusTiming::Spec ? "Spec" : "Fast") + "At" +
                                    std::to_string(info.param.stopAtCheck) + (info.param.bitBang ? "BitBang" : "");
                         });

}  // namespace
}  // namespace korvex
