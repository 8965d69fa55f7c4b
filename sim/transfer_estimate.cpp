#include "sim/transfer_estimate.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

#include "sim/port_model.h"

namespace korvex {
namespace {

// The longest internal write cycle a memory of this kind takes.
constexpr std::uint64_t kLongestWriteCycleNs = 5'000'000;

}  // namespace

PortCosts CostsFrom(const LineProbe& probe) { return {probe.setNs, probe.readNs, probe.Guard()}; }

double EstimateSeconds(const PortCosts& costs, BusTiming timing,
                       const std::array<std::uint8_t, SimulatedModule::kSize>& memory,
                       const std::function<void(TwoWireBus&)>& operation) {
    // Large: a module holds 32 KiB and a voice store more; keep it off the stack.
    auto scratch = std::make_unique<SimulatedModule>();
    PortModel model = DefaultPortModel();
    model.setNs = costs.setNs;
    model.readNs = costs.readNs;
    scratch->SetPortModel(model);
    scratch->SetWriteCycle(kLongestWriteCycleNs);
    scratch->Memory() = memory;
    TwoWireBus bus(*scratch, scratch->Sleeper(), scratch->Clock());
    bus.SetTiming(timing);
    bus.SetGuard(costs.guard);
    try {
        operation(bus);
    } catch (const std::exception&) {
        // What it took until it stopped is still the best guess.
    }
    return static_cast<double>(scratch->NowNs()) / 1e9;
}

std::string AboutText(double seconds, bool english) {
    const long total = std::lround(std::ceil(seconds));
    char text[64];
    if (total < 60) {
        std::snprintf(text, sizeof text, english ? "about %ld s" : "около %ld с", std::max(total, 1L));
    } else {
        const long minutes = total / 60, rest = total % 60;
        if (rest == 0) std::snprintf(text, sizeof text, english ? "about %ld min" : "около %ld мин", minutes);
        else std::snprintf(text, sizeof text, english ? "about %ld min %ld s" : "около %ld мин %ld с", minutes, rest);
    }
    return text;
}

std::string SecondsText(double seconds, bool english) {
    char text[32];
    if (seconds < 60) {
        std::snprintf(text, sizeof text, english ? "%.1f s" : "%.1f с", seconds);
    } else {
        const long total = std::lround(seconds);
        std::snprintf(text, sizeof text, english ? "%ld min %ld s" : "%ld мин %ld с", total / 60, total % 60);
    }
    std::string result = text;
    if (!english) {
        for (char& c : result)
            if (c == '.') c = ',';
    }
    return result;
}

}  // namespace korvex
