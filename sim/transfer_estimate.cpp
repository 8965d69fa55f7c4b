#include "sim/transfer_estimate.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "link/stream_lines.h"
#include "sim/port_model.h"
#include "sim/simulated_ft232r.h"

namespace korvex {
namespace {

// The longest internal write cycle a memory of this kind takes.
constexpr std::uint64_t kLongestWriteCycleNs = 5'000'000;

}  // namespace

PortCosts CostsFrom(const LineProbe& probe) { return {probe.setNs, probe.readNs, probe.Guard(), probe.pinStream}; }

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
    BitBangTiming bitBang;
    bitBang.latencyNs = costs.setNs;
    SimulatedFt232r chip(*scratch, bitBang);
    StreamLines streamLines(chip);
    if (!costs.pinStream) scratch->SetPortModel(model);  // the chip took it over
    TwoWireBus bus(costs.pinStream ? static_cast<ModemLines&>(streamLines) : *scratch, scratch->Sleeper(),
                   scratch->Clock());
    bus.SetTiming(timing);
    bus.SetGuard(costs.guard);
    if (costs.pinStream) bus.SetStream(&chip);
    try {
        operation(bus);
    } catch (const std::exception&) {
        // What it took until it stopped is still the best guess.
    }
    return static_cast<double>(scratch->NowNs()) / 1e9;
}

std::string AboutText(double seconds, const DurationWords& words) {
    const long long total = std::max(std::llround(std::ceil(seconds)), 1LL);
    std::string text(words.about);
    if (total < 60) return text + std::to_string(total) + std::string(words.seconds);
    text += std::to_string(total / 60) + std::string(words.minutes);
    if (total % 60 != 0) text += " " + std::to_string(total % 60) + std::string(words.seconds);
    return text;
}

std::string SecondsText(double seconds, const DurationWords& words) {
    // Whole milliseconds first, so 1.95 s is 1950 ms and rounds up as a
    // clock's reading does.
    const long long ms = std::max(std::llround(seconds * 1000), 0LL);
    const long long tenths = (ms + 50) / 100;
    if (tenths < 600)
        return std::to_string(tenths / 10) + words.decimalPoint + std::to_string(tenths % 10) + std::string(words.seconds);
    const long long total = (ms + 500) / 1000;
    std::string text = std::to_string(total / 60) + std::string(words.minutes);
    if (total % 60 != 0) text += " " + std::to_string(total % 60) + std::string(words.seconds);
    return text;
}

}  // namespace korvex
