#include "link/stream_lines.h"

namespace korvex {

void StreamLines::Put(unsigned levels) {
    levels_ = static_cast<std::uint8_t>(levels & (kTickDtr | kTickRts));
    const std::uint8_t tick = levels_;
    std::uint8_t sample = 0;
    stream_.Exchange({&tick, 1}, {&sample, 1});
}

std::uint32_t StreamLines::ReadModemStatus() {
    // The sample of a tick shows what the tick before it left.
    const std::uint8_t tick = levels_ | kTickSample;
    std::uint8_t sample = 0;
    stream_.Exchange({&tick, 1}, {&sample, 1});
    return sample != 0 ? kMsCtsOn : 0;
}

}  // namespace korvex
