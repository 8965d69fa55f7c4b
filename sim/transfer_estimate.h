#pragma once
#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "link/line_probe.h"
#include "link/two_wire_bus.h"
#include "sim/simulated_module.h"

namespace korvex {

// What each line call of a port costs, as its probe measured it.
struct PortCosts {
    std::uint64_t setNs = 0;
    std::uint64_t readNs = 0;
    std::chrono::microseconds guard = kMinGuard;
};
PortCosts CostsFrom(const LineProbe& probe);

// How long `operation` will take on such a port: it runs on a scratch module
// holding `memory`, every call charged as the port costs it and every write
// cycle as long as the memory may take, and its virtual time is the answer.
// The operation must work on throwaway buffers.
double EstimateSeconds(const PortCosts& costs, BusTiming timing,
                       const std::array<std::uint8_t, SimulatedModule::kSize>& memory,
                       const std::function<void(TwoWireBus&)>& operation);

// "about 48 s", "about 3 min 10 s"; `english` false gives the Russian words.
std::string AboutText(double seconds, bool english);
// "1.9 s" / "1,9 с": the time a transfer took.
std::string SecondsText(double seconds, bool english);

}  // namespace korvex
