#include "link/two_wire_bus.h"

#include <thread>

#include "link/bus_error.h"

namespace korvex {

SleepFn RealSleep() {
    return [](std::chrono::microseconds us) { std::this_thread::sleep_for(us); };
}

ClockFn RealClock() {
    return [] {
        return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                              std::chrono::steady_clock::now().time_since_epoch())
                                              .count());
    };
}

TwoWireBus::TwoWireBus(ModemLines& lines, SleepFn sleep, ClockFn clock)
    : lines_(lines), sleep_(std::move(sleep)), clock_(std::move(clock)) {
    if (!sleep_) sleep_ = RealSleep();
    if (!clock_) clock_ = RealClock();
}

void TwoWireBus::Settle() {
    lines_.ReadModemStatus();
    lines_.ReadModemStatus();
}

void TwoWireBus::Drive(Line line, bool low) {
    std::optional<bool>& level = line == Line::Clock ? clockLow_ : dataLow_;
    if (timing_ == BusTiming::Fast && level == low) return;
    if (line == Line::Clock) {
        if (low) lines_.SetDtr();
        else lines_.ClearDtr();
    } else {
        if (low) lines_.SetRts();
        else lines_.ClearRts();
    }
    level = low;
    changedSinceSample_ = true;
    if (timing_ == BusTiming::Spec) Settle();
}

bool TwoWireBus::SampleLow() {
    if (timing_ == BusTiming::Fast && changedSinceSample_) sleep_(guard_);
    changedSinceSample_ = false;
    return (lines_.ReadModemStatus() & kMsCtsOn) != 0;
}

void TwoWireBus::Release() {
    const BusTiming saved = timing_;
    timing_ = BusTiming::Fast;  // fast skips nothing while the levels are unknown
    dataLow_.reset();
    clockLow_.reset();
    DataHigh();
    ClockHigh();
    timing_ = saved;
}

void TwoWireBus::Start() {
    DataHigh();
    ClockHigh();
    DataLow();
    ClockLow();
    byteInTransaction_ = 0;
}

void TwoWireBus::Stop() {
    DataLow();
    ClockHigh();
    DataHigh();
}

bool TwoWireBus::SendByte(std::uint8_t value) {
    ClockLow();
    for (int bit = 7; bit >= 0; --bit) {
        if ((value >> bit) & 1) DataHigh();
        else DataLow();
        ClockHigh();
        ClockLow();
    }
    // Ninth clock: the memory pulls the released line low to acknowledge.
    DataHigh();
    ClockHigh();
    const bool acked = timing_ == BusTiming::Spec || SampleLow();
    ClockLow();
    return acked;
}

void TwoWireBus::WriteByte(std::uint8_t value) {
    const int index = byteInTransaction_++;
    if (index >= 3) dataWritten_ = true;
    const bool acked = SendByte(value);
    if (index >= 3) ++address_;
    if (acked) return;
    Stop();  // leave the bus released for whatever comes next
    if (index == 0) throw BusError(BusError::Kind::NoAnswer, address_);
    throw BusError(BusError::Kind::Refused, index >= 3 ? address_ - 1 : address_);
}

std::uint8_t TwoWireBus::ReceiveBits() {
    ClockLow();
    DataHigh();
    std::uint8_t value = 0;
    for (int i = 0; i < 8; ++i) {
        ClockHigh();
        const bool ctsOn = timing_ == BusTiming::Spec ? (lines_.ReadModemStatus() & kMsCtsOn) != 0 : SampleLow();
        ClockLow();
        value = static_cast<std::uint8_t>((value << 1) | (ctsOn ? 0 : 1));
    }
    return value;
}

std::uint8_t TwoWireBus::ReadByteAck() {
    if (StopAsked()) {
        // The memory is sending: the next byte is nacked and the read ends.
        static_cast<void>(ReadByteNack());
        Stop();
        throw TransferStopped();
    }
    const std::uint8_t value = ReceiveBits();
    DataLow();
    ClockHigh();
    ClockLow();
    DataLow();
    return value;
}

std::uint8_t TwoWireBus::ReadByteNack() {
    const std::uint8_t value = ReceiveBits();
    ClockHigh();
    ClockLow();
    return value;
}

void TwoWireBus::BeginWrite(std::uint16_t address) {
    // Between transactions the lines are released and no page is open.
    if (StopAsked()) throw TransferStopped();
    address_ = address;
    Start();
    WriteByte(kDeviceWrite);
    WriteByte(static_cast<std::uint8_t>(address >> 8));
    WriteByte(static_cast<std::uint8_t>(address & 0xFF));
}

void TwoWireBus::BeginRead(std::uint16_t address) {
    BeginWrite(address);
    Start();
    WriteByte(kDeviceRead);
}

void TwoWireBus::Wait() {
    if (timing_ == BusTiming::Spec) {
        sleep_(kWriteCycleWait);
        return;
    }
    // While the memory writes its page it answers no address.
    const std::uint64_t begin = clock_();
    const auto cap = static_cast<std::uint64_t>(std::chrono::nanoseconds(kWriteCycleWait).count());
    for (;;) {
        Start();
        const bool acked = SendByte(kDeviceWrite);
        Stop();
        if (acked) return;
        if (clock_() - begin > cap) throw BusError(BusError::Kind::WriteCycleTimeout, address_ > 0 ? address_ - 1 : 0);
    }
}

std::uint8_t TwoWireBus::ReadSequential(std::uint16_t address, std::span<std::uint8_t> out,
                                        const std::function<void(std::size_t)>& onByte) {
    BeginRead(address);
    for (std::size_t i = 0; i < out.size(); ++i) {
        out[i] = ReadByteAck();
        if (onByte) onByte(i);
    }
    const std::uint8_t extra = ReadByteNack();
    Stop();
    return extra;
}

void TwoWireBus::WritePaged(std::uint16_t address, std::span<const std::uint8_t> data,
                            const std::function<void(std::size_t)>& onByte) {
    bool inRun = false;
    for (std::size_t i = 0; i < data.size(); ++i) {
        const auto a = static_cast<std::uint16_t>(address + i);
        if (!inRun) {
            BeginWrite(a);
            inRun = true;
        }
        WriteByte(data[i]);
        if (a % 64 == 63) {
            Stop();
            Wait();
            inRun = false;
        }
        if (onByte) onByte(i);
    }
    if (inRun) {
        Stop();
        Wait();
    }
}

}  // namespace korvex
