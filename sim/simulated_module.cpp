#include "sim/simulated_module.h"

#include <algorithm>
#include <cerrno>

#include "link/serial_exception.h"
#include "model/file_io.h"

namespace korvex {

SimulatedModule::SimulatedModule() { mem_.fill(0xFF); }

SleepFn SimulatedModule::Sleeper() {
    return [this](std::chrono::milliseconds ms) {
        nowNs_ += static_cast<std::uint64_t>(ms.count()) * 1000000u;
    };
}

void SimulatedModule::Call(const char* name, std::uint64_t& counter) {
    // A pulled cable fails every call from then on, as a vanished USB adapter does.
    if (faults_.pullAfterCalls != 0 && counters_.Total() >= faults_.pullAfterCalls) {
        throw CSerialException(kPortGoneError);
    }
    ++counter;
    nowNs_ += lineCallNs_;
    if (trace_) *trace_ << name << '\n';
}

void SimulatedModule::SetDtr() {
    Call("SetDtr", counters_.setDtr);
    const bool scl = Scl(), sda = Sda();
    dtrAsserted_ = true;
    LinesChanged(scl, sda);
}

void SimulatedModule::ClearDtr() {
    Call("ClearDtr", counters_.clearDtr);
    const bool scl = Scl(), sda = Sda();
    dtrAsserted_ = false;
    LinesChanged(scl, sda);
}

void SimulatedModule::SetRts() {
    Call("SetRts", counters_.setRts);
    const bool scl = Scl(), sda = Sda();
    rtsAsserted_ = true;
    LinesChanged(scl, sda);
}

void SimulatedModule::ClearRts() {
    Call("ClearRts", counters_.clearRts);
    const bool scl = Scl(), sda = Sda();
    rtsAsserted_ = false;
    LinesChanged(scl, sda);
}

std::uint32_t SimulatedModule::ReadModemStatus() {
    Call("ReadModemStatus", counters_.readModemStatus);
    if (faults_.absent) return 0;
    return Sda() ? 0 : kMsCtsOn;
}

void SimulatedModule::LinesChanged(bool oldScl, bool oldSda) {
    if (faults_.absent) return;
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

std::string SimulatedModule::LoadFile(const std::filesystem::path& path) {
    const FileBytes file = ReadFileBytes(path, kSize);
    if (!file.outcome.Ok()) return file.outcome.path + ": " + file.outcome.reason;
    mem_.fill(0xFF);
    std::copy(file.bytes.begin(), file.bytes.end(), mem_.begin());
    return {};
}

std::string SimulatedModule::SaveFile(const std::filesystem::path& path) const {
    const FileOutcome written = WriteFileAtomic(path, mem_);
    if (!written.Ok()) return written.path + ": " + written.reason;
    return {};
}

}  // namespace korvex
