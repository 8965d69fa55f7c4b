#include "sim/port_bus.h"

#include <cstdio>

namespace korvex {

std::string StatsLine(const PortStats& stats) {
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.3f", stats.seconds);
    return "stats: sets=" + std::to_string(stats.sets) + " reads=" + std::to_string(stats.reads) +
           " waits=" + std::to_string(stats.waits) + " seconds=" + seconds;
}

PortBus::PortBus(ModulePort& port, BusTiming timing)
    : port_(port),
      streamLines_(port.Stream() ? std::make_unique<StreamLines>(*port.Stream()) : nullptr),
      lines_(streamLines_ ? static_cast<ModemLines&>(*streamLines_) : port.Lines()),
      clock_(port.Clock()),
      openedNs_(clock_()) {
    RecoverBus(lines_);
    probe_ = ProbeLines(lines_, clock_);
    probe_.driver = port_.Driver();
    SleepFn sleep = [this, inner = port_.Sleeper()](std::chrono::microseconds us) {
        ++waits_;
        inner(us);
    };
    bus_ = std::make_unique<TwoWireBus>(lines_, std::move(sleep), clock_);
    bus_->SetTiming(timing);
    bus_->SetGuard(probe_.Guard());
    bus_->SetStream(port_.Stream());
    probe_.pinStream = port_.Stream() != nullptr;
}

PortStats PortBus::Stats() const {
    PortStats stats;
    stats.sets = lines_.Sets();
    stats.reads = lines_.Reads();
    stats.waits = waits_;
    stats.seconds = static_cast<double>(clock_() - openedNs_) / 1e9;
    return stats;
}

}  // namespace korvex
