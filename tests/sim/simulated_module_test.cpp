#include <gtest/gtest.h>

#include <numeric>
#include <sstream>
#include <random>

#include "link/serial_exception.h"
#include "link/two_wire_bus.h"
#include "sim/simulated_module.h"

namespace korvex {
namespace {

class SimBus : public ::testing::Test {
protected:
    SimulatedModule sim;
    TwoWireBus bus{sim, sim.Sleeper()};
};

TEST_F(SimBus, SequentialReadReturnsMemoryAndTheExtraByte) {
    for (std::uint32_t a = 0; a < SimulatedModule::kSize; ++a) sim.Memory()[a] = static_cast<std::uint8_t>(a * 7);
    std::uint8_t out[6];
    const std::uint8_t extra = bus.ReadSequential(1000, out);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(out[i], static_cast<std::uint8_t>((1000 + i) * 7));
    EXPECT_EQ(extra, static_cast<std::uint8_t>(1006 * 7));
}

TEST_F(SimBus, SequentialReadRollsOverAtTheEndOfMemory) {
    sim.Memory()[32766] = 1;
    sim.Memory()[32767] = 2;
    sim.Memory()[0] = 3;
    sim.Memory()[1] = 4;
    std::uint8_t out[4];
    bus.ReadSequential(32766, out);
    EXPECT_EQ(std::vector<std::uint8_t>(out, out + 4), (std::vector<std::uint8_t>{1, 2, 3, 4}));
}

TEST_F(SimBus, PageWriteStoresAfterStopAndWait) {
    const std::uint8_t data[] = {10, 20, 30};
    bus.WritePaged(200, data);
    EXPECT_EQ(sim.Memory()[200], 10);
    EXPECT_EQ(sim.Memory()[202], 30);
    EXPECT_EQ(sim.Memory()[203], 0xFF);
    EXPECT_EQ(sim.WriteCycles(), 1u);
}

TEST_F(SimBus, RunCrossingAPageEndWrapsInsideThePage) {
    // A writer that ignores page ends: the chip wraps to the page start.
    bus.BeginWrite(62);
    for (std::uint8_t v : {1, 2, 3, 4}) bus.WriteByte(v);
    bus.Stop();
    bus.Wait();
    EXPECT_EQ(sim.Memory()[62], 1);
    EXPECT_EQ(sim.Memory()[63], 2);
    EXPECT_EQ(sim.Memory()[0], 3);
    EXPECT_EQ(sim.Memory()[1], 4);
    EXPECT_EQ(sim.Memory()[64], 0xFF);
}

TEST_F(SimBus, TransactionDuringTheWriteCycleIsLost) {
    TwoWireBus hasty(sim, [](auto) {});  // never waits
    const std::uint8_t first[] = {0x11};
    const std::uint8_t second[] = {0x22};
    hasty.WritePaged(100, first);
    hasty.WritePaged(300, second);  // begins while the chip is still busy
    EXPECT_EQ(sim.Memory()[100], 0x11);
    EXPECT_EQ(sim.Memory()[300], 0xFF);
    std::uint8_t out[1];
    hasty.ReadSequential(100, out);  // not acknowledged either: nothing drives the line
    EXPECT_EQ(out[0], 0xFF);
    sim.Sleeper()(std::chrono::milliseconds(70));
    hasty.ReadSequential(100, out);
    EXPECT_EQ(out[0], 0x11);
}

TEST_F(SimBus, AbsentModuleNeverAnswersAndStoresNothing) {
    sim.Memory()[0] = 0x00;
    sim.GetFaults().absent = true;
    std::uint8_t out[2];
    bus.ReadSequential(0, out);
    EXPECT_EQ(out[0], 0xFF);
    const std::uint8_t data[] = {1};
    bus.WritePaged(5, data);
    EXPECT_EQ(sim.Memory()[5], 0xFF);
}

TEST_F(SimBus, WriteProtectedChipKeepsItsContent) {
    sim.GetFaults().writeProtect = true;
    const std::uint8_t data[] = {1, 2};
    bus.WritePaged(5, data);
    EXPECT_EQ(sim.Memory()[5], 0xFF);
}

TEST_F(SimBus, FlipFaultsHitTheNthByte) {
    sim.GetFaults().flipWriteAt = 2;
    const std::uint8_t data[] = {0x10, 0x20, 0x30};
    bus.WritePaged(0, data);
    EXPECT_EQ(sim.Memory()[1], 0x21);
    EXPECT_EQ(sim.Memory()[2], 0x30);

    sim.GetFaults().flipReadAt = 3;
    std::uint8_t out[3];
    bus.ReadSequential(0, out);
    EXPECT_EQ(out[0], 0x10);
    EXPECT_EQ(out[2], 0x31);
}

TEST_F(SimBus, PulledCableFailsEveryLaterCall) {
    sim.GetFaults().pullAfterCalls = 100;
    bus.WriteByte(1);                                   // 84 calls
    EXPECT_THROW(bus.WriteByte(1), CSerialException);  // fails at call 101
    EXPECT_EQ(sim.GetCounters().Total(), 100u);
    try {
        sim.SetDtr();
        FAIL();
    } catch (const CSerialException& e) {
        EXPECT_EQ(e.Code(), kPortGoneError);
        EXPECT_FALSE(e.Message().empty());
    }
}

TEST_F(SimBus, TraceNamesEveryCall) {
    std::ostringstream trace;
    sim.SetTrace(&trace);
    bus.Start();
    sim.SetTrace(nullptr);
    EXPECT_EQ(trace.str(),
              "ClearRts\nReadModemStatus\nReadModemStatus\nClearDtr\nReadModemStatus\nReadModemStatus\n"
              "SetRts\nReadModemStatus\nReadModemStatus\nSetDtr\nReadModemStatus\nReadModemStatus\n");
    EXPECT_EQ(sim.GetCounters().Total(), 12u);
    EXPECT_EQ(sim.GetCounters().readModemStatus, 8u);
}

TEST(SimulatedModuleFile, SavesAndLoadsRawMemory) {
    const auto dir = std::filesystem::temp_directory_path() / ("korvex-sim-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(dir);
    SimulatedModule a;
    std::iota(a.Memory().begin(), a.Memory().end(), 0);
    ASSERT_TRUE(a.SaveFile(dir / "mem.bin").Ok());
    EXPECT_EQ(std::filesystem::file_size(dir / "mem.bin"), SimulatedModule::kSize);
    SimulatedModule b;
    ASSERT_TRUE(b.LoadFile(dir / "mem.bin").Ok());
    EXPECT_EQ(a.Memory(), b.Memory());
    const FileOutcome missing = b.LoadFile(dir / "missing.bin");
    EXPECT_EQ(missing.failed, FileStep::Open);
    EXPECT_NE(missing.Message().find("missing.bin"), std::string::npos);
    EXPECT_FALSE(a.SaveFile(dir / "no-such-dir" / "mem.bin").Ok());
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace korvex
