#include "sim/simulated_module.h"

#include <algorithm>
#include <cerrno>
#include <thread>

#include "link/serial_exception.h"
#include "model/file_io.h"

namespace korvex {

SimulatedModule::SimulatedModule() { mem_.fill(0xFF); }

SleepFn SimulatedModule::Sleeper() {
    return [this](std::chrono::microseconds us) {
        nowNs_ += static_cast<std::uint64_t>(us.count()) * 1000u;
        KeepPace();
    };
}

void SimulatedModule::SetRealPace(bool on) {
    realPace_ = on;
    paceWallStart_ = std::chrono::steady_clock::now();
    paceVirtualStartNs_ = nowNs_;
}

// Sleeps while the virtual clock is ahead of the wall clock. Slack of a
// millisecond keeps the sleeps few: one per thousand cheap line calls.
void SimulatedModule::KeepPace() {
    if (!realPace_) return;
    constexpr std::uint64_t kSlackNs = 1000000;
    const std::uint64_t virtualNs = nowNs_ - paceVirtualStartNs_;
    const auto wall = std::chrono::steady_clock::now() - paceWallStart_;
    const auto wallNs = static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(wall).count());
    if (virtualNs > wallNs + kSlackNs) std::this_thread::sleep_for(std::chrono::nanoseconds(virtualNs - wallNs));
}

ClockFn SimulatedModule::Clock() {
    return [this] { return nowNs_; };
}

void SimulatedModule::SetPortModel(const PortModel& model) {
    model_ = model;
    ctsHistory_.assign(1, {nowNs_, !Sda()});
}

void SimulatedModule::SetLineCallCost(std::uint64_t ns) {
    PortModel model = DefaultPortModel();
    model.setNs = model.readNs = ns;
    SetPortModel(model);
}

void SimulatedModule::Call(const char* name, std::uint64_t& counter, std::uint64_t costNs) {
    // A pulled cable fails every call from then on, as a vanished USB adapter does.
    if (faults_.pullAfterCalls != 0 && counters_.Total() >= faults_.pullAfterCalls) {
        throw CSerialException(kPortGoneError);
    }
    ++counter;
    nowNs_ += costNs;
    if (trace_) *trace_ << name << '\n';
    KeepPace();
}

// A change takes effect when its call returns.
void SimulatedModule::SetDtr() {
    Call("SetDtr", counters_.setDtr, model_.setNs);
    const bool scl = Scl(), sda = Sda();
    dtrAsserted_ = true;
    LinesChanged(scl, sda);
}

void SimulatedModule::ClearDtr() {
    Call("ClearDtr", counters_.clearDtr, model_.setNs);
    const bool scl = Scl(), sda = Sda();
    dtrAsserted_ = false;
    LinesChanged(scl, sda);
}

void SimulatedModule::SetRts() {
    Call("SetRts", counters_.setRts, model_.setNs);
    const bool scl = Scl(), sda = Sda();
    rtsAsserted_ = true;
    LinesChanged(scl, sda);
}

void SimulatedModule::ClearRts() {
    Call("ClearRts", counters_.clearRts, model_.setNs);
    const bool scl = Scl(), sda = Sda();
    rtsAsserted_ = false;
    LinesChanged(scl, sda);
}

std::uint32_t SimulatedModule::ReadModemStatus() {
    // The status is taken when the call begins.
    const std::uint64_t at = nowNs_;
    Call("ReadModemStatus", counters_.readModemStatus, model_.readNs);
    if (model_.ctsAlwaysOn) return kMsCtsOn;
    if (faults_.absent) return 0;
    return CtsOnAt(at) ? kMsCtsOn : 0;
}

void SimulatedModule::RecordCts() {
    if (model_.statusRefreshNs == 0) return;
    const bool on = !Sda();
    if (ctsHistory_.back().second == on) return;
    // Levels older than the last refresh that already saw a newer one are gone for good.
    const std::uint64_t refreshed = nowNs_ / model_.statusRefreshNs * model_.statusRefreshNs;
    std::size_t keep = 0;
    while (keep + 1 < ctsHistory_.size() && ctsHistory_[keep + 1].first <= refreshed) ++keep;
    ctsHistory_.erase(ctsHistory_.begin(), ctsHistory_.begin() + static_cast<std::ptrdiff_t>(keep));
    ctsHistory_.emplace_back(nowNs_, on);
}

bool SimulatedModule::CtsOnAt(std::uint64_t ns) const {
    if (model_.statusRefreshNs == 0) return !Sda();
    // A cached status holds the level that stood at the last refresh.
    const std::uint64_t refreshed = ns / model_.statusRefreshNs * model_.statusRefreshNs;
    bool on = ctsHistory_.front().second;
    for (const auto& [at, level] : ctsHistory_) {
        if (at > refreshed) break;
        on = level;
    }
    return on;
}

void SimulatedModule::LinesChanged(bool oldScl, bool oldSda) {
    if (!faults_.absent) {
        const bool scl = Scl(), sda = Sda();
        if (scl && oldScl) {
            if (oldSda && !sda) OnStart();
            else if (!oldSda && sda) OnStop();
        } else if (scl && !oldScl) {
            OnRisingEdge();
        } else if (!scl && oldScl) {
            OnFallingEdge();
        }
    }
    RecordCts();
}

void SimulatedModule::OnStart() {
    memPullsLow_ = false;
    pageBuffer_.clear();  // a write without its stop condition is abandoned
    bit_ = 0;
    shift_ = 0;
    ackClockSeen_ = false;
    bytesInTransaction_ = 0;
    // During the internal write cycle the chip does not answer at all.
    mode_ = Busy() ? Mode::Ignore : Mode::Receive;
}

void SimulatedModule::OnStop() {
    memPullsLow_ = false;
    if (mode_ == Mode::Receive && !pageBuffer_.empty() && !faults_.writeProtect) {
        for (const auto& [address, value] : pageBuffer_) {
            std::uint8_t v = value;
            if (++bytesStored_ == faults_.flipWriteAt) v ^= 0x01;
            mem_[address] = v;
        }
        ++writeCycles_;
        busyUntilNs_ = nowNs_ + writeCycleNs_;
    }
    pageBuffer_.clear();
    mode_ = Mode::Idle;
}

void SimulatedModule::OnRisingEdge() {
    switch (mode_) {
        case Mode::Receive:
            if (bit_ < 8) {
                shift_ = static_cast<std::uint8_t>((shift_ << 1) | (Sda() ? 1 : 0));
                ++bit_;
            } else {
                ackClockSeen_ = true;
            }
            break;
        case Mode::Transmit:
            if (bit_ < 8) {
                ++bit_;
            } else {
                ackClockSeen_ = true;
                masterAcked_ = !Sda();
            }
            break;
        default:
            break;
    }
}

void SimulatedModule::OnFallingEdge() {
    switch (mode_) {
        case Mode::Receive:
            if (bit_ < 8) break;
            if (!ackClockSeen_) {
                ByteReceived(shift_);
                memPullsLow_ = ackThisByte_;
            } else {
                memPullsLow_ = false;
                bit_ = 0;
                shift_ = 0;
                ackClockSeen_ = false;
                if (!ackThisByte_) {
                    mode_ = Mode::Ignore;
                } else if (startTransmit_) {
                    startTransmit_ = false;
                    mode_ = Mode::Transmit;
                    LoadTransmitByte();
                }
            }
            break;
        case Mode::Transmit:
            if (bit_ < 8) {
                memPullsLow_ = ((shift_ >> (7 - bit_)) & 1) == 0;
            } else if (!ackClockSeen_) {
                memPullsLow_ = false;  // the PC answers on the ninth clock
            } else {
                ackClockSeen_ = false;
                if (masterAcked_) {
                    LoadTransmitByte();
                } else {
                    mode_ = Mode::Idle;
                }
            }
            break;
        default:
            break;
    }
}

void SimulatedModule::ByteReceived(std::uint8_t value) {
    const int index = bytesInTransaction_++;
    ackThisByte_ = true;
    if (index == 0) {
        if ((value & 0xFE) != kDeviceWrite) {
            ackThisByte_ = false;
            return;
        }
        startTransmit_ = (value & 1) != 0;
        return;
    }
    if (index == 1) {
        pointer_ = static_cast<std::uint16_t>(((value & 0x7F) << 8) | (pointer_ & 0xFF));
        return;
    }
    if (index == 2) {
        pointer_ = static_cast<std::uint16_t>((pointer_ & 0x7F00) | value);
        return;
    }
    // Data: the address counter wraps inside its 64-byte page.
    const std::uint16_t address = pointer_;
    bool replaced = false;
    for (auto& entry : pageBuffer_) {
        if (entry.first == address) {
            entry.second = value;
            replaced = true;
        }
    }
    if (!replaced) pageBuffer_.emplace_back(address, value);
    pointer_ = static_cast<std::uint16_t>((address & 0x7FC0) | ((address + 1) & 0x3F));
}

void SimulatedModule::LoadTransmitByte() {
    shift_ = mem_[pointer_];
    if (++bytesSent_ == faults_.flipReadAt) shift_ ^= 0x01;
    pointer_ = static_cast<std::uint16_t>((pointer_ + 1) & (kSize - 1));
    bit_ = 0;
    memPullsLow_ = (shift_ & 0x80) == 0;
}

FileOutcome SimulatedModule::LoadFile(const std::filesystem::path& path) {
    const FileBytes file = ReadFileBytes(path, kSize);
    if (!file.outcome.Ok()) return file.outcome;
    mem_.fill(0xFF);
    std::copy(file.bytes.begin(), file.bytes.end(), mem_.begin());
    return file.outcome;
}

FileOutcome SimulatedModule::SaveFile(const std::filesystem::path& path) const { return WriteFileAtomic(path, mem_); }

}  // namespace korvex
