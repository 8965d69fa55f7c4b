#pragma once
#include <cstddef>
#include <cstdint>
#include <span>

namespace korvex {

// One tick of a pin stream: the levels the cable puts out for one period of
// its tick clock. Bits as the bus means them, whatever pins carry them.
inline constexpr std::uint8_t kTickDtr = 0x01;     // DTR asserted: the clock line low
inline constexpr std::uint8_t kTickRts = 0x02;     // RTS asserted: the data line pulled low
inline constexpr std::uint8_t kTickSample = 0x80;  // the bus looks at this tick's sample

// A cable that takes line states in batches instead of one call per change
// (a USB bridge in synchronous bit-bang mode): each tick's levels go out in
// order, one per tick, and the CTS level is read at every tick before its
// levels go out, so a tick's sample shows what the previous tick left.
class PinStream {
public:
    virtual ~PinStream() = default;
    // The most ticks one Exchange takes: what the chip holds of samples.
    virtual std::size_t BatchTicks() const = 0;
    // Puts out ticks.size() ticks (at most BatchTicks()) and fills
    // samples[i] with 1 where CTS was on at tick i, else 0. A sample the
    // tick does not ask for (no kTickSample) may be left 0. Throws
    // CSerialException when the device fails or is gone.
    virtual void Exchange(std::span<const std::uint8_t> ticks, std::span<std::uint8_t> samples) = 0;
};

}  // namespace korvex
