#include "link/two_wire_bus.h"

#include <algorithm>
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
    if (stream_) return;  // a tick is the settle time
    lines_.ReadModemStatus();
    lines_.ReadModemStatus();
}

void TwoWireBus::Drive(Line line, bool low) {
    std::optional<bool>& level = line == Line::Clock ? clockLow_ : dataLow_;
    if (stream_) {
        // A sampled tick goes out even when it changes nothing.
        if (level == low && !sampleNext_) return;
        level = low;
        Push();
        return;
    }
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
    if (stream_) Flush();
}

void TwoWireBus::SetStream(PinStream* stream) {
    stream_ = stream;
    ticks_.clear();
    acks_.clear();
    reads_.clear();
    readAhead_.clear();
    sampleNext_ = false;
    clockLow_.reset();
    dataLow_.reset();
}

void TwoWireBus::ThrowStopped() {
    if (stream_) Flush();
    throw TransferStopped();
}

void TwoWireBus::Push() {
    std::uint8_t tick = 0;
    if (clockLow_.value_or(false)) tick |= kTickDtr;
    if (dataLow_.value_or(false)) tick |= kTickRts;
    if (sampleNext_) tick |= kTickSample;
    sampleNext_ = false;
    ticks_.push_back(tick);
    if (ticks_.size() >= stream_->BatchTicks()) Exchange();
}

// The tick that goes out next carries the sample; it shows the levels the
// tick before it left, a whole tick after the last change.
std::uint64_t TwoWireBus::MarkSample() {
    sampleNext_ = true;
    return ticksSent_ + ticks_.size();
}

bool TwoWireBus::SampleAt(std::uint64_t tick) const { return samples_[tick - lastBase_] != 0; }

void TwoWireBus::Flush() {
    if (sampleNext_) Drive(Line::Clock, clockLow_.value_or(false));
    if (!ticks_.empty()) Exchange();
}

void TwoWireBus::Exchange() {
    // Taken off the bus first: a device that fails mid-exchange leaves nothing queued.
    const std::vector<std::uint8_t> ticks = std::move(ticks_);
    ticks_.clear();
    samples_.assign(ticks.size(), 0);
    lastBase_ = ticksSent_;
    ticksSent_ += ticks.size();
    try {
        stream_->Exchange(ticks, samples_);
    } catch (...) {
        acks_.clear();
        reads_.clear();
        readAhead_.clear();
        sampleNext_ = false;
        pollTick_.reset();
        throw;
    }
    if (pollTick_ && InLastExchange(*pollTick_)) pollAcked_ = SampleAt(*pollTick_);
    std::size_t decoded = 0;
    for (PendingByte& pending : reads_) {
        for (int bit = 0; bit < 8; ++bit) {
            // CTS on: the data line low, a 0.
            if (InLastExchange(pending.bitTicks[bit]) && !SampleAt(pending.bitTicks[bit]))
                pending.value = static_cast<std::uint8_t>(pending.value | (0x80 >> bit));
        }
        if (pending.bitTicks[7] >= ticksSent_) break;
        readAhead_.push_back(pending.value);
        ++decoded;
    }
    reads_.erase(reads_.begin(), reads_.begin() + static_cast<std::ptrdiff_t>(decoded));
    std::size_t checked = 0;
    for (; checked < acks_.size() && acks_[checked].tick < ticksSent_; ++checked) {
        if (SampleAt(acks_[checked].tick)) continue;
        const AckCheck missing = acks_[checked];
        acks_.clear();
        reads_.clear();
        readAhead_.clear();
        // What was queued behind the refused byte went to a memory that
        // ignores it; the bus is left released for whatever comes next.
        ClockLow();
        DataLow();
        ClockHigh();
        DataHigh();
        Flush();
        throw BusError(missing.deviceAddress ? BusError::Kind::NoAnswer : BusError::Kind::Refused, missing.address);
    }
    acks_.erase(acks_.begin(), acks_.begin() + static_cast<std::ptrdiff_t>(checked));
}

void TwoWireBus::Start() {
    DataHigh();
    ClockHigh();
    DataLow();
    ClockLow();
    byteInTransaction_ = 0;
    readAhead_.clear();
    receiving_ = false;
}

void TwoWireBus::Stop() {
    DataLow();
    ClockHigh();
    DataHigh();
    // A write's stop is followed by its cycle's wait, which sends the ticks.
    if (stream_ && receiving_) Flush();
    receiving_ = false;
}

void TwoWireBus::SendBits(std::uint8_t value) {
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
}

bool TwoWireBus::SendByte(std::uint8_t value) {
    SendBits(value);
    const bool acked = timing_ == BusTiming::Spec || SampleLow();
    ClockLow();
    return acked;
}

void TwoWireBus::WriteByte(std::uint8_t value) {
    const int index = byteInTransaction_++;
    if (index >= 3) dataWritten_ = true;
    if (stream_) {
        // Sent ahead; the acknowledge is checked when its sample comes back.
        SendBits(value);
        if (timing_ == BusTiming::Fast) acks_.push_back({MarkSample(), index == 0, address_});
        ClockLow();
        if (index >= 3) ++address_;
        return;
    }
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

void TwoWireBus::QueueReceive(bool sampled) {
    receiving_ = true;
    ClockLow();
    DataHigh();
    // Listed before its ticks: a batch may go out between two of its bits.
    if (sampled) {
        PendingByte pending{};
        std::fill(std::begin(pending.bitTicks), std::end(pending.bitTicks), UINT64_MAX);
        reads_.push_back(pending);
    }
    for (int bit = 0; bit < 8; ++bit) {
        ClockHigh();
        if (sampled) reads_.back().bitTicks[bit] = MarkSample();
        ClockLow();
    }
}

std::uint8_t TwoWireBus::TakeRead(bool ack) {
    if (!ack) {
        if (!readAhead_.empty()) {
            // Read ahead and acknowledged already: the byte after it is the one nacked.
            const std::uint8_t value = readAhead_.front();
            readAhead_.clear();
            QueueReceive(false);
            ClockHigh();
            ClockLow();
            return value;
        }
        QueueReceive(true);
        ClockHigh();
        ClockLow();
        Flush();
    } else if (readAhead_.empty()) {
        constexpr std::size_t kTicksPerByte = 20;  // 8 bits of two ticks, the acknowledge's four
        const std::size_t room = std::max<std::size_t>(1, stream_->BatchTicks() / kTicksPerByte);
        const std::size_t n = std::min(room, ackedLeft_);
        for (std::size_t i = 0; i < n; ++i) {
            QueueReceive(true);
            DataLow();
            ClockHigh();
            ClockLow();
        }
        Flush();
    }
    const std::uint8_t value = readAhead_.front();
    readAhead_.pop_front();
    if (ack && ackedLeft_ != SIZE_MAX) --ackedLeft_;
    return value;
}

std::uint8_t TwoWireBus::ReadByteAck() {
    if (StopAsked()) {
        // The memory is sending: the next byte is nacked and the read ends.
        static_cast<void>(ReadByteNack());
        Stop();
        ThrowStopped();
    }
    if (stream_) return TakeRead(true);
    const std::uint8_t value = ReceiveBits();
    DataLow();
    ClockHigh();
    ClockLow();
    DataLow();
    return value;
}

std::uint8_t TwoWireBus::ReadByteNack() {
    if (stream_) return TakeRead(false);
    const std::uint8_t value = ReceiveBits();
    ClockHigh();
    ClockLow();
    return value;
}

void TwoWireBus::BeginWrite(std::uint16_t address) {
    // Between transactions the lines are released and no page is open.
    if (StopAsked()) ThrowStopped();
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
        if (stream_) Flush();
        sleep_(kWriteCycleWait);
        return;
    }
    // While the memory writes its page it answers no address.
    const std::uint64_t begin = clock_();
    const auto cap = static_cast<std::uint64_t>(std::chrono::nanoseconds(kWriteCycleWait).count());
    for (;;) {
        Start();
        bool acked = false;
        if (stream_) {
            // The page's ticks go out with the first poll.
            SendBits(kDeviceWrite);
            pollTick_ = MarkSample();
            pollAcked_ = false;
            ClockLow();
            Stop();
            Flush();
            pollTick_.reset();
            acked = pollAcked_;
        } else {
            acked = SendByte(kDeviceWrite);
            Stop();
        }
        if (acked) return;
        if (clock_() - begin > cap) throw BusError(BusError::Kind::WriteCycleTimeout, address_ > 0 ? address_ - 1 : 0);
    }
}

std::uint8_t TwoWireBus::ReadSequential(std::uint16_t address, std::span<std::uint8_t> out,
                                        const std::function<void(std::size_t)>& onByte) {
    BeginRead(address);
    // A stream reads ahead no further than the bytes asked for.
    ackedLeft_ = out.size();
    struct Unbounded {
        std::size_t& left;
        ~Unbounded() { left = SIZE_MAX; }
    } unbounded{ackedLeft_};
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
