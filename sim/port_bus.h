#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "link/counting_lines.h"
#include "link/line_probe.h"
#include "link/stream_lines.h"
#include "link/two_wire_bus.h"
#include "sim/port_factory.h"

namespace korvex {

// What a port has cost since it opened.
struct PortStats {
    std::uint64_t sets = 0, reads = 0, waits = 0;
    double seconds = 0;  // virtual on a simulated port, wall time on a real one
};
// "stats: sets=N reads=N waits=N seconds=S"
std::string StatsLine(const PortStats& stats);

// An opened port made ready for transfers: its lines probed once (the
// probe's calls count as the port's), a bus on them with the chosen timing
// and the guard the probe measured, and every call counted. On a port with a
// pin stream the probe and the recovery go through it a call an exchange,
// and the bus drives the stream.
class PortBus {
public:
    PortBus(ModulePort& port, BusTiming timing);
    PortBus(const PortBus&) = delete;
    PortBus& operator=(const PortBus&) = delete;

    const LineProbe& Probe() const { return probe_; }
    TwoWireBus& Bus() { return *bus_; }
    PortStats Stats() const;

private:
    ModulePort& port_;
    std::unique_ptr<StreamLines> streamLines_;  // the probe's and the recovery's lines on a stream
    CountingLines lines_;
    ClockFn clock_;
    std::uint64_t openedNs_ = 0;
    std::uint64_t waits_ = 0;
    LineProbe probe_;
    std::unique_ptr<TwoWireBus> bus_;
};

}  // namespace korvex
