#include "link/two_wire_bus.h"

#include <thread>

namespace korvex {

SleepFn RealSleep() {
    return [](std::chrono::milliseconds ms) { std::this_thread::sleep_for(ms); };
}

TwoWireBus::TwoWireBus(ModemLines& lines, SleepFn sleep) : lines_(lines), sleep_(std::move(sleep)) {
    if (!sleep_) sleep_ = RealSleep();
}

void TwoWireBus::Settle() {
    lines_.ReadModemStatus();
    lines_.ReadModemStatus();
}

void TwoWireBus::Start() {
    DataHigh();
    ClockHigh();
    DataLow();
    ClockLow();
}

void TwoWireBus::Stop() {
    DataLow();
    ClockHigh();
    DataHigh();
}

void TwoWireBus::WriteByte(std::uint8_t value) {
    ClockLow();
    for (int bit = 7; bit >= 0; --bit) {
        if ((value >> bit) & 1) DataHigh();
        else DataLow();
        ClockHigh();
        ClockLow();
    }
    // Ninth clock: the acknowledge is not sampled.
    DataHigh();
    ClockHigh();
    ClockLow();
}

std::uint8_t TwoWireBus::ReceiveBits() {
    ClockLow();
    DataHigh();
    std::uint8_t value = 0;
    for (int i = 0; i < 8; ++i) {
        ClockHigh();
        const bool ctsOn = (lines_.ReadModemStatus() & kMsCtsOn) != 0;
        ClockLow();
        value = static_cast<std::uint8_t>((value << 1) | (ctsOn ? 0 : 1));
    }
    return value;
}

std::uint8_t TwoWireBus::ReadByteAck() {
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
