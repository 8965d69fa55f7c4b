#pragma once
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

#include "link/modem_lines.h"

namespace korvex {

// The fixed waits (70 ms after a page write or a marker read) go through
// this, so tests and the simulator run in virtual time.
using SleepFn = std::function<void(std::chrono::milliseconds)>;
SleepFn RealSleep();

inline constexpr std::chrono::milliseconds kWriteCycleWait{70};
inline constexpr std::uint8_t kDeviceWrite = 160;
inline constexpr std::uint8_t kDeviceRead = 161;

// A serial-memory bus in software: DTR is the clock, RTS pulls the data line
// low, CTS on means the data line is low. Every line change is followed by a
// Settle (two status reads), which is the bus's only timing.
class TwoWireBus {
public:
    TwoWireBus(ModemLines& lines, SleepFn sleep);

    void Settle();
    void Start();
    void Stop();
    void WriteByte(std::uint8_t value);
    std::uint8_t ReadByteAck();
    std::uint8_t ReadByteNack();

    // Sequential read of out.size() bytes at `address`. After storing byte i,
    // onByte(i) is called. Returns the extra byte clocked out with the final
    // nack (the memory's byte at address + size).
    std::uint8_t ReadSequential(std::uint16_t address, std::span<std::uint8_t> out,
                                const std::function<void(std::size_t)>& onByte = {});

    // Page write of data at `address`: runs never cross a 64-byte boundary;
    // each run ends with Stop and the write-cycle wait. onByte(i) follows byte i.
    void WritePaged(std::uint16_t address, std::span<const std::uint8_t> data,
                    const std::function<void(std::size_t)>& onByte = {});

    // The addressing preamble of a transaction: Start, 160, high, low.
    void BeginWrite(std::uint16_t address);
    // Start, 160, high, low, Start, 161: ready for ReadByteAck/Nack.
    void BeginRead(std::uint16_t address);

    void Wait() { sleep_(kWriteCycleWait); }
    ModemLines& Lines() { return lines_; }

private:
    // Line levels as the bus sees them.
    void ClockHigh() { lines_.ClearDtr(); Settle(); }
    void ClockLow() { lines_.SetDtr(); Settle(); }
    void DataHigh() { lines_.ClearRts(); Settle(); }
    void DataLow() { lines_.SetRts(); Settle(); }
    std::uint8_t ReceiveBits();

    ModemLines& lines_;
    SleepFn sleep_;
};

}  // namespace korvex
