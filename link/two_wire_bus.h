#pragma once
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "link/modem_lines.h"
#include "link/pin_stream.h"

namespace korvex {

// The waits (70 ms after a page write or a marker read; the fast timing's
// guard before a sample) go through this, so tests and the simulator run in
// virtual time.
using SleepFn = std::function<void(std::chrono::microseconds)>;
SleepFn RealSleep();
// The port's time in nanoseconds, for the fast timing's write-cycle cap and
// the line probe: a steady clock on a real port, virtual time on a simulated one.
using ClockFn = std::function<std::uint64_t()>;
ClockFn RealClock();

inline constexpr std::chrono::milliseconds kWriteCycleWait{70};
inline constexpr std::chrono::microseconds kMinGuard{10};
inline constexpr std::uint8_t kDeviceWrite = 160;
inline constexpr std::uint8_t kDeviceRead = 161;

// `Spec` is the standard sequence: every line change followed by two status
// reads, the acknowledge never sampled, a fixed 70 ms after each page write.
// `Fast` puts the same bytes in the memory with fewer calls: no call that
// leaves a line where it is, a time guard instead of settle reads before a
// sample, every acknowledge sampled, acknowledge polling instead of the wait.
enum class BusTiming { Spec, Fast };

// A serial-memory bus in software: DTR is the clock, RTS pulls the data line
// low, CTS on means the data line is low.
class TwoWireBus {
public:
    TwoWireBus(ModemLines& lines, SleepFn sleep, ClockFn clock = {});

    BusTiming Timing() const { return timing_; }
    void SetTiming(BusTiming timing) { timing_ = timing; }
    // The fast timing's wait between a line change and a sample: the status
    // delay the line probe measured, never below kMinGuard.
    void SetGuard(std::chrono::microseconds guard) { guard_ = guard < kMinGuard ? kMinGuard : guard; }
    std::chrono::microseconds Guard() const { return guard_; }

    void Settle();
    void Start();
    void Stop();
    // Fast timing: a missing acknowledge throws BusError (NoAnswer on a
    // device address, Refused on any other byte).
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

    // Spec: 70 ms. Fast: polls the memory until it acknowledges its address
    // again, and throws BusError (WriteCycleTimeout) past 70 ms.
    void Wait();
    ModemLines& Lines() { return lines_; }
    // True once a data byte of a write has begun on this bus (not the
    // address bytes a read starts with): from then on the memory may hold
    // part of what was being written.
    bool DataWritten() const { return dataWritten_; }

    // Asked at every safe point: before a transaction begins (so after the
    // previous page write's cycle, never inside a page) and before each
    // byte of a read after the first. When it answers true the bus ends the
    // read it is in (a nack, then stop), and throws TransferStopped with
    // both lines released. Empty: never stops. May be called from another
    // thread than the bus's only through what it reads (an atomic flag).
    void SetStopCheck(std::function<bool()> check) { stopCheck_ = std::move(check); }

    // Drives both lines high (data first, so no condition appears on the
    // bus) whatever they were, so the fast timing knows where they stand.
    void Release();

    // From now on the bus drives a pin stream instead of the line calls
    // (nullptr: the line calls again). The same sequences go out tick by
    // tick, one line change a tick, so data changes only while the clock is
    // low; no call leaves a line where it is. The acknowledges of a write
    // are sampled but not waited for: the ticks are batched up to the
    // stream's BatchTicks() and checked when their samples come back, so a
    // missing one throws the same BusError a batch later. Reads and the
    // acknowledge polling wait for their samples; a read takes the bytes of
    // a batch at once (acknowledged; the read then ends past them with a
    // nack). Every read and every write cycle ends with the ticks sent.
    void SetStream(PinStream* stream);
    PinStream* Stream() const { return stream_; }

private:
    enum class Line { Clock, Data };
    void Drive(Line line, bool low);
    void ClockHigh() { Drive(Line::Clock, false); }
    void ClockLow() { Drive(Line::Clock, true); }
    void DataHigh() { Drive(Line::Data, false); }
    void DataLow() { Drive(Line::Data, true); }
    // CTS on: the data line is low.
    bool SampleLow();
    void SendBits(std::uint8_t value);  // the eight bits, then the ninth clock high
    bool SendByte(std::uint8_t value);  // true when acknowledged (always, in Spec)
    std::uint8_t ReceiveBits();
    bool StopAsked() const { return stopCheck_ && stopCheck_(); }
    [[noreturn]] void ThrowStopped();

    // Pin stream: the ticks not yet sent and what waits for their samples.
    struct AckCheck {
        std::uint64_t tick;
        bool deviceAddress;
        std::uint32_t address;
    };
    // A byte's bits come back as their ticks do, across batches too.
    struct PendingByte {
        std::uint64_t bitTicks[8];
        std::uint8_t value;
    };
    void Push();
    std::uint64_t MarkSample();
    void Flush();
    void Exchange();
    bool SampleAt(std::uint64_t tick) const;
    bool InLastExchange(std::uint64_t tick) const { return tick >= lastBase_ && tick < ticksSent_; }
    void QueueReceive(bool sampled);
    std::uint8_t TakeRead(bool ack);

    ModemLines& lines_;
    SleepFn sleep_;
    ClockFn clock_;
    BusTiming timing_ = BusTiming::Spec;
    std::chrono::microseconds guard_ = kMinGuard;
    // Line levels as last driven (true: pulled low); unknown until driven once.
    std::optional<bool> clockLow_, dataLow_;
    bool changedSinceSample_ = true;
    int byteInTransaction_ = 0;     // bytes sent since the last start condition
    bool dataWritten_ = false;
    std::uint32_t address_ = 0;     // memory address the next data byte goes to
    std::function<bool()> stopCheck_;

    PinStream* stream_ = nullptr;
    std::vector<std::uint8_t> ticks_;
    std::vector<std::uint8_t> samples_;  // of the last exchange
    std::uint64_t ticksSent_ = 0;        // before the last exchange's first tick: lastBase_
    std::uint64_t lastBase_ = 0;
    bool sampleNext_ = false;
    bool receiving_ = false;  // the transaction reads: its stop sends the ticks
    std::vector<AckCheck> acks_;
    std::optional<std::uint64_t> pollTick_;  // the acknowledge polling's sample
    bool pollAcked_ = false;
    std::vector<PendingByte> reads_;
    std::deque<std::uint8_t> readAhead_;
    std::size_t ackedLeft_ = SIZE_MAX;  // bytes a sequential read still acknowledges
};

// Runs with another timing for as long as it lives.
class TimingScope {
public:
    TimingScope(TwoWireBus& bus, BusTiming timing) : bus_(bus), saved_(bus.Timing()) { bus.SetTiming(timing); }
    ~TimingScope() { bus_.SetTiming(saved_); }
    TimingScope(const TimingScope&) = delete;
    TimingScope& operator=(const TimingScope&) = delete;

private:
    TwoWireBus& bus_;
    BusTiming saved_;
};

}  // namespace korvex
