#pragma once
#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "link/line_probe.h"
#include "link/two_wire_bus.h"
#include "sim/simulated_module.h"

namespace korvex {

// What each line call of a port costs, as its probe measured it.
struct PortCosts {
    std::uint64_t setNs = 0;
    std::uint64_t readNs = 0;
    std::chrono::microseconds guard = kMinGuard;
    bool pinStream = false;  // priced as a simulated FT232R whose round trip is a set's cost
};
PortCosts CostsFrom(const LineProbe& probe);

// How long `operation` will take on such a port: it runs on a scratch module
// holding `memory`, every call charged as the port costs it and every write
// cycle as long as the memory may take, and its virtual time is the answer.
// The operation must work on throwaway buffers.
double EstimateSeconds(const PortCosts& costs, BusTiming timing,
                       const std::array<std::uint8_t, SimulatedModule::kSize>& memory,
                       const std::function<void(TwoWireBus&)>& operation);

// The words a duration is told in, one table per language.
struct DurationWords {
    std::string_view about;    // before an estimate
    std::string_view seconds;  // after a number of seconds
    std::string_view minutes;  // after a number of minutes
    char decimalPoint;
};
inline constexpr DurationWords kRussianDuration{"около ", " с", " мин", ','};
inline constexpr DurationWords kEnglishDuration{"about ", " s", " min", '.'};

// "about 48 s", "about 3 min 10 s": an estimate, whole seconds rounded up.
std::string AboutText(double seconds, const DurationWords& words);
// "1.9 s", "2 min 5 s": the time a transfer took, tenths rounded half up
// below a minute, whole seconds from there on.
std::string SecondsText(double seconds, const DurationWords& words);
// `english` false: the Russian words.
inline std::string AboutText(double seconds, bool english) {
    return AboutText(seconds, english ? kEnglishDuration : kRussianDuration);
}
inline std::string SecondsText(double seconds, bool english) {
    return SecondsText(seconds, english ? kEnglishDuration : kRussianDuration);
}

}  // namespace korvex
