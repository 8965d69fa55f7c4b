#include "sim/simulated_ft232r.h"

#include <algorithm>

namespace korvex {

const PortModel& BitBangPortModel() {
    static const PortModel model{kBitBangPortName, "ftdi_sio", 0, 0, 0, false};
    return model;
}

SimulatedFt232r::SimulatedFt232r(SimulatedModule& module, BitBangTiming timing) : module_(module), timing_(timing) {
    module_.SetPortModel(BitBangPortModel());
}

void SimulatedFt232r::Exchange(std::span<const std::uint8_t> ticks, std::span<std::uint8_t> samples) {
    ++exchanges_;
    ticks_ += ticks.size();
    const std::uint64_t tickNs = 1000000000ull / std::max<std::uint64_t>(1, timing_.tickHz);
    module_.Advance(timing_.latencyNs);
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        const std::uint8_t tick = ticks[i];
        if (tick & kTickSample) samples[i] = (module_.ReadModemStatus() & kMsCtsOn) != 0 ? 1 : 0;
        const std::uint8_t changed = (tick ^ levels_) & (kTickDtr | kTickRts);
        if (changed & kTickDtr) {
            if (tick & kTickDtr) module_.SetDtr();
            else module_.ClearDtr();
        }
        if (changed & kTickRts) {
            if (tick & kTickRts) module_.SetRts();
            else module_.ClearRts();
        }
        levels_ = tick & (kTickDtr | kTickRts);
        module_.Advance(tickNs);
    }
    const std::size_t perPacket = kPacketBytes - kPacketStatusBytes;
    module_.Advance(timing_.packetNs * ((ticks.size() + perPacket - 1) / perPacket));
}

}  // namespace korvex
