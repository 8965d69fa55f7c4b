#pragma once
#include <cstddef>
#include <cstdint>
#include <span>

#include "link/pin_stream.h"
#include "sim/simulated_module.h"

namespace korvex {

// What a USB bridge in synchronous bit-bang mode costs: each exchange is a
// bulk transfer out and one back, the ticks run at the tick rate and the
// samples come back in 64-byte packets, two of each a status.
struct BitBangTiming {
    std::uint64_t latencyNs = 1000000;  // a bulk round trip
    std::uint64_t tickHz = 200000;      // the default tick rate
    std::uint64_t packetNs = 50000;     // one 64-byte packet on a full-speed bus
    std::size_t batchTicks = 256;       // the chip's buffer towards the host
};
inline constexpr std::size_t kPacketBytes = 64;
inline constexpr std::size_t kPacketStatusBytes = 2;

// An FT232R in synchronous bit-bang mode in front of the simulated module:
// each tick drives the module's DTR and RTS as the tick says (one line call
// per line that changes, so the module's trace reads as any port's) and a
// sampled tick reads its status before the levels change, as the chip reads
// its pins before putting out the next byte. Virtual time goes on the
// module's clock: the latency, then each tick, then the packets back.
// Line calls cost nothing of their own while it drives them.
class SimulatedFt232r final : public PinStream {
public:
    explicit SimulatedFt232r(SimulatedModule& module, BitBangTiming timing = {});
    std::size_t BatchTicks() const override { return timing_.batchTicks; }
    void Exchange(std::span<const std::uint8_t> ticks, std::span<std::uint8_t> samples) override;
    const BitBangTiming& Timing() const { return timing_; }
    std::uint64_t Exchanges() const { return exchanges_; }
    std::uint64_t Ticks() const { return ticks_; }

private:
    SimulatedModule& module_;
    BitBangTiming timing_;
    std::uint8_t levels_ = 0;
    std::uint64_t exchanges_ = 0, ticks_ = 0;
};

// The port model a module behind the simulated FT232R has: its line calls
// are the chip's own ticks, charged by the exchange.
const PortModel& BitBangPortModel();
inline constexpr std::string_view kBitBangPortName = "ft232r-bitbang";

}  // namespace korvex
