#include "link/line_probe.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

namespace korvex {
namespace {

// A CTS that has not followed after this long never will.
constexpr std::uint64_t kFollowLimitNs = 5'000'000;
constexpr int kMinPolls = 3;

std::uint64_t Median(std::vector<std::uint64_t> values) {
    if (values.empty()) return 0;
    const auto mid = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), mid, values.end());
    return *mid;
}

std::string Microseconds(std::uint64_t ns) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f us", static_cast<double>(ns) / 1000.0);
    return text;
}

}  // namespace

std::chrono::microseconds LineProbe::Guard() const {
    const std::uint64_t ns = liveStatus ? statusDelayNs : statusDelayNs + statusDelayNs / 10;
    const std::chrono::microseconds guard((ns + 999) / 1000);
    return std::max(guard, kMinGuard);
}

LineProbe ProbeLines(ModemLines& lines, const ClockFn& clock, int toggles) {
    LineProbe probe;
    std::vector<std::uint64_t> setCosts, readCosts;
    std::uint64_t longestDelay = 0;
    std::uint64_t shortestGap = 0;   // between two changes becoming visible
    std::uint64_t lastVisible = 0;

    auto timedSet = [&](void (ModemLines::*op)()) {
        const std::uint64_t t0 = clock();
        (lines.*op)();
        const std::uint64_t t1 = clock();
        setCosts.push_back(t1 - t0);
        ++probe.sets;
        return t1;
    };
    auto timedRead = [&](std::uint64_t& began) {
        began = clock();
        const bool on = (lines.ReadModemStatus() & kMsCtsOn) != 0;
        readCosts.push_back(clock() - began);
        ++probe.reads;
        return on;
    };

    timedSet(&ModemLines::SetDtr);  // clock low: the memory ignores the data line
    for (int i = 0; i <= toggles && probe.verdict == LineProbe::Verdict::Ok; ++i) {
        // The first round releases the data line; then low and high by turns.
        const bool low = i % 2 == 1;
        const std::uint64_t changed = timedSet(low ? &ModemLines::SetRts : &ModemLines::ClearRts);
        bool sawOn = false, sawOff = false;
        for (int polls = 0;; ++polls) {
            std::uint64_t began = 0;
            const bool on = timedRead(began);
            (on ? sawOn : sawOff) = true;
            if (on == low) {
                const std::uint64_t delay = began - changed;
                if (i > 0) {
                    longestDelay = std::max(longestDelay, delay);
                    if (polls > 0) probe.liveStatus = false;
                    const std::uint64_t gap = began - lastVisible;
                    if (i > 1 && (shortestGap == 0 || gap < shortestGap)) shortestGap = gap;
                }
                lastVisible = began;
                break;
            }
            if (polls + 1 >= kMinPolls && clock() - changed > kFollowLimitNs) {
                probe.verdict = sawOn && !sawOff ? LineProbe::Verdict::CtsStuckOn : LineProbe::Verdict::CtsStuckOff;
                break;
            }
        }
    }
    timedSet(&ModemLines::ClearRts);
    timedSet(&ModemLines::ClearDtr);

    probe.setNs = Median(setCosts);
    probe.readNs = Median(readCosts);
    // A cached status shows a change at its next refresh: the refresh period
    // bounds the delay, and the shortest gap between two visible changes
    // measures it even where the toggles all fell at one phase.
    probe.statusDelayNs = probe.liveStatus ? longestDelay : std::max(longestDelay, shortestGap);
    return probe;
}

void RecoverBus(ModemLines& lines) {
    // Clock low first: a cut-off session may have left it high over a data
    // line held low, and releasing data then would be a stop condition.
    lines.SetDtr();
    lines.ClearRts();
    for (int i = 0; i < 9; ++i) {
        lines.ClearDtr();
        lines.SetDtr();
    }
    lines.ClearDtr();
    lines.SetRts();
    lines.ClearRts();
}

std::string PortDriverName(const std::string& devicePath) {
#ifdef _WIN32
    (void)devicePath;
    return {};
#else
    std::error_code ec;
    const std::filesystem::path device = std::filesystem::canonical(devicePath, ec);
    if (ec) return {};
    const std::filesystem::path driver =
        std::filesystem::path("/sys/class/tty") / device.filename() / "device" / "driver";
    const std::filesystem::path target = std::filesystem::read_symlink(driver, ec);
    if (ec) return {};
    return target.filename().string();
#endif
}

std::string DescribeProbe(const LineProbe& probe) {
    std::string text = "port: " + (probe.driver.empty() ? std::string("unknown kind") : probe.driver);
    if (probe.pinStream) text += ", synchronous bit-bang (a set or a read is one bulk round trip)";
    text += ", set " + Microseconds(probe.setNs) + ", status read " + Microseconds(probe.readNs);
    text += probe.liveStatus ? ", status live" : ", status cached";
    text += ", status delay " + Microseconds(probe.statusDelayNs);
    switch (probe.verdict) {
        case LineProbe::Verdict::Ok:
            // The standard timing samples a cached status before it has caught up.
            text += probe.liveStatus
                        ? ": usable"
                        : ": usable with the fast timing only (the standard timing misreads a cached status)";
            break;
        case LineProbe::Verdict::CtsStuckOn:
            text += ": this cable cannot read the module back: CTS does not follow RTS";
            break;
        case LineProbe::Verdict::CtsStuckOff: text += ": CTS stays off: no module powers the cable"; break;
    }
    return text;
}

}  // namespace korvex
