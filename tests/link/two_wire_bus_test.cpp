#include <gtest/gtest.h>

#include <functional>

#include "link/bus_error.h"
#include "link/two_wire_bus.h"
#include "recording_lines.h"

namespace korvex {
namespace {

using test::RecordingLines;

struct OpCase {
    const char* name;
    std::function<void(TwoWireBus&)> op;
    std::size_t calls;
};

TEST(TwoWireBus, CallCountsPerOperation) {
    const OpCase cases[] = {
        {"Settle", [](TwoWireBus& b) { b.Settle(); }, 2},
        {"Start", [](TwoWireBus& b) { b.Start(); }, 12},
        {"Stop", [](TwoWireBus& b) { b.Stop(); }, 9},
        {"WriteByte", [](TwoWireBus& b) { b.WriteByte(0x5A); }, 84},
        {"ReadByteAck", [](TwoWireBus& b) { b.ReadByteAck(); }, 74},
        {"ReadByteNack", [](TwoWireBus& b) { b.ReadByteNack(); }, 68},
    };
    for (const auto& c : cases) {
        RecordingLines lines;
        TwoWireBus bus(lines, [](auto) {});
        c.op(bus);
        EXPECT_EQ(lines.calls.size(), c.calls) << c.name;
    }
}

TEST(TwoWireBus, StartAndStopLineOrder) {
    RecordingLines lines;
    TwoWireBus bus(lines, [](auto) {});
    bus.Start();
    bus.Stop();
    std::vector<std::string> changes;
    for (const auto& c : lines.calls)
        if (c != "ReadModemStatus") changes.push_back(c);
    const std::vector<std::string> expected = {"ClearRts", "ClearDtr", "SetRts", "SetDtr",  // start
                                               "SetRts", "ClearDtr", "ClearRts"};           // stop
    EXPECT_EQ(changes, expected);
    // Every change is followed by exactly two status reads.
    for (std::size_t i = 0; i < lines.calls.size(); i += 3) {
        EXPECT_EQ(lines.calls[i + 1], "ReadModemStatus");
        EXPECT_EQ(lines.calls[i + 2], "ReadModemStatus");
    }
    EXPECT_TRUE(lines.ClockHigh());
    EXPECT_TRUE(lines.DataHigh());
}

TEST(TwoWireBus, WriteByteSendsMostSignificantBitFirst) {
    RecordingLines lines;
    TwoWireBus bus(lines, [](auto) {});
    bus.WriteByte(0xA1);  // 1010 0001
    std::string bits;
    for (std::size_t i = 0; i + 3 < lines.calls.size(); ++i) {
        // The data level that stands when the clock rises is the bit.
        if (lines.calls[i] == "ClearDtr") {
            for (std::size_t j = i; j-- > 0;) {
                if (lines.calls[j] == "SetRts") { bits += '0'; break; }
                if (lines.calls[j] == "ClearRts") { bits += '1'; break; }
            }
        }
    }
    EXPECT_EQ(bits, "101000011");  // eight data bits, then the released ninth clock
}

TEST(TwoWireBus, NothingOnTheLineReadsAllOnes) {
    RecordingLines lines;
    TwoWireBus bus(lines, [](auto) {});
    EXPECT_EQ(bus.ReadByteAck(), 0xFF);
    EXPECT_EQ(bus.ReadByteNack(), 0xFF);
    lines.ctsOn = true;  // the line held low reads as zeros
    EXPECT_EQ(bus.ReadByteAck(), 0x00);
}

TEST(TwoWireBus, SequentialReadClocksOneMoreByteAndEndsReleased) {
    RecordingLines lines;
    TwoWireBus bus(lines, [](auto) {});
    std::uint8_t out[5];
    bus.ReadSequential(0x1234, out);
    const std::size_t expected = 12 + 3 * 84 + 12 + 84 + 5 * 74 + 68 + 9;
    EXPECT_EQ(lines.calls.size(), expected);
    EXPECT_TRUE(lines.ClockHigh());
    EXPECT_TRUE(lines.DataHigh());
}

TEST(TwoWireBus, AStoppedReadNacksEndsAndReleasesBothLines) {
    RecordingLines lines;
    TwoWireBus bus(lines, [](auto) {});
    int asked = 0;
    bus.SetStopCheck([&] { return ++asked > 3; });  // the address, then two bytes
    std::uint8_t out[5];
    EXPECT_THROW(bus.ReadSequential(0x1234, out), TransferStopped);
    // Two bytes acknowledged, the third nacked, then the stop condition.
    const std::size_t expected = 12 + 3 * 84 + 12 + 84 + 2 * 74 + 68 + 9;
    EXPECT_EQ(lines.calls.size(), expected);
    EXPECT_TRUE(lines.ClockHigh());
    EXPECT_TRUE(lines.DataHigh());
}

TEST(TwoWireBus, PagedWriteBreaksRunsAtPageEnds) {
    RecordingLines lines;
    int waits = 0;
    TwoWireBus bus(lines, [&](std::chrono::microseconds us) {
        EXPECT_EQ(us, kWriteCycleWait);
        ++waits;
    });
    std::vector<std::uint8_t> data(100, 0);
    bus.WritePaged(2048 + 100, data);  // 2148..2175, 2176..2239, 2240..2247
    EXPECT_EQ(waits, 3);
    const std::size_t starts = 3, bytes = 100;
    EXPECT_EQ(lines.calls.size(), starts * (12 + 3 * 84 + 9) + bytes * 84);
}

}  // namespace
}  // namespace korvex
