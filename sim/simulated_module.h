#pragma once
#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "link/modem_lines.h"
#include "link/two_wire_bus.h"
#include "model/file_io.h"
#include "sim/port_model.h"

namespace korvex {

// A 32 KiB two-wire serial memory (device address 160/161) behind the same
// modem-control lines a programming cable uses. It decodes start and stop
// conditions, clocks bits in and out, keeps the address pointer, buffers
// page writes inside their 64-byte page and models the internal write cycle
// in virtual time: a transaction begun before the cycle ends is not
// acknowledged and its data are lost, as on a real chip.
//
// The bus state (where a transaction stands, the address pointer, the page
// buffer, the write cycle) lives in the object, and nothing a session does
// resets it: a port opened again on the same object meets the chip as the
// last session left it, cut off within a bit or not, as the next program
// meets a powered module. A module loaded from its memory file starts at
// rest, as a chip that was powered down between programs: a page never
// stopped is lost with the power.
class SimulatedModule final : public ModemLines {
public:
    static constexpr std::uint32_t kSize = 32768;

    struct Faults {
        bool absent = false;                    // no module on the cable: CTS never on
        bool writeProtect = false;              // the memory acknowledges but never stores
        std::uint64_t flipReadAt = 0;           // n-th byte sent to the PC (from 1) has bit 0 flipped
        std::uint64_t flipWriteAt = 0;          // n-th data byte stored has bit 0 flipped
        std::uint64_t pullAfterCalls = 0;       // every line call after the n-th throws
    };

    struct Counters {
        std::uint64_t setDtr = 0, clearDtr = 0, setRts = 0, clearRts = 0, readModemStatus = 0;
        std::uint64_t Total() const { return setDtr + clearDtr + setRts + clearRts + readModemStatus; }
    };

    SimulatedModule();  // blank memory: all 0xFF

    // ModemLines
    void SetDtr() override;
    void ClearDtr() override;
    void SetRts() override;
    void ClearRts() override;
    std::uint32_t ReadModemStatus() override;

    // Virtual time. Sleeper() advances it; every line call costs what the
    // port model says (by default a few microseconds, live status).
    SleepFn Sleeper();
    ClockFn Clock();
    void Advance(std::uint64_t ns) { nowNs_ += ns; }
    std::uint64_t NowNs() const { return nowNs_; }
    void SetPortModel(const PortModel& model);
    const PortModel& GetPortModel() const { return model_; }
    void SetLineCallCost(std::uint64_t ns);  // sets and reads alike, live status
    void SetWriteCycle(std::uint64_t ns) { writeCycleNs_ = ns; }
    // Real pace: from now on the module takes the wall-clock time its
    // virtual clock charges (a demo at a real cable's speed); off: as fast
    // as the machine runs, the default.
    void SetRealPace(bool on);
    bool RealPace() const { return realPace_; }

    // Memory.
    std::array<std::uint8_t, kSize>& Memory() { return mem_; }
    const std::array<std::uint8_t, kSize>& Memory() const { return mem_; }
    void Fill(std::uint8_t value) { mem_.fill(value); }
    // Raw 32768-byte file. A shorter file fills the rest with 0xFF.
    FileOutcome LoadFile(const std::filesystem::path& path);
    FileOutcome SaveFile(const std::filesystem::path& path) const;  // written whole, then renamed over

    Faults& GetFaults() { return faults_; }
    const Counters& GetCounters() const { return counters_; }
    void ResetCounters() { counters_ = {}; }
    // One line per call, the operation's name; nullptr stops tracing.
    void SetTrace(std::ostream* trace) { trace_ = trace; }

    std::uint64_t WriteCycles() const { return writeCycles_; }  // committed page writes
    bool Busy() const { return nowNs_ < busyUntilNs_; }

private:
    enum class Mode { Idle, Receive, Transmit, Ignore };

    void Call(const char* name, std::uint64_t& counter, std::uint64_t costNs);
    void KeepPace();
    void LinesChanged(bool oldScl, bool oldSda);
    void RecordCts();
    bool CtsOnAt(std::uint64_t ns) const;
    bool Sda() const { return !(rtsAsserted_ || memPullsLow_); }
    bool Scl() const { return !dtrAsserted_; }
    void OnStart();
    void OnStop();
    void OnRisingEdge();
    void OnFallingEdge();
    void ByteReceived(std::uint8_t value);
    void LoadTransmitByte();

    std::array<std::uint8_t, kSize> mem_{};
    bool dtrAsserted_ = false;   // clock low when asserted
    bool rtsAsserted_ = false;   // data pulled low by the PC
    bool memPullsLow_ = false;   // data pulled low by the memory

    Mode mode_ = Mode::Idle;
    int bit_ = 0;                // bit within the current byte; 8 = the acknowledge clock
    std::uint8_t shift_ = 0;
    int bytesInTransaction_ = 0; // bytes received since the start condition
    bool ackThisByte_ = false;
    bool ackClockSeen_ = false;  // the ninth clock of the current byte has risen
    bool startTransmit_ = false; // the device address asked for a read
    bool masterAcked_ = false;
    std::uint16_t pointer_ = 0;
    std::vector<std::pair<std::uint16_t, std::uint8_t>> pageBuffer_;

    std::uint64_t nowNs_ = 0;
    std::uint64_t busyUntilNs_ = 0;
    PortModel model_ = DefaultPortModel();
    // CTS levels (true: on) from the time they took effect, for a port
    // whose status is a cached copy; trimmed as refreshes pass.
    std::vector<std::pair<std::uint64_t, bool>> ctsHistory_{{0, false}};
    std::uint64_t writeCycleNs_ = 5000000; // 5 ms internal write cycle
    std::uint64_t writeCycles_ = 0;
    std::uint64_t bytesSent_ = 0;
    std::uint64_t bytesStored_ = 0;

    bool realPace_ = false;
    std::chrono::steady_clock::time_point paceWallStart_{};
    std::uint64_t paceVirtualStartNs_ = 0;

    Faults faults_;
    Counters counters_;
    std::ostream* trace_ = nullptr;
};

}  // namespace korvex
