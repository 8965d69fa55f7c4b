#include "link/delta_codec.h"

#include <algorithm>

namespace korvex {

namespace {
constexpr int kStartLevel = 128;
}

std::size_t EncodeDelta(std::span<const std::uint8_t> samples, int step, std::span<std::uint8_t> out) {
    const std::size_t count = std::min(samples.size() / 8, out.size());
    int level = kStartLevel;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* group = samples.data() + i * 8;
        unsigned byte = 0;
        for (int bit = 0; bit < 8; ++bit) {
            byte <<= 1;
            if (level < group[bit]) {
                byte |= 1;
                level += step;
            } else {
                level -= step;
            }
        }
        out[i] = static_cast<std::uint8_t>(byte);
    }
    return count;
}

std::size_t DecodeDelta(std::span<const std::uint8_t> encoded, int step, std::span<std::uint8_t> out) {
    const std::size_t count = std::min(encoded.size(), out.size() / 8);
    int level = kStartLevel;
    std::uint8_t* sample = out.data();
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned byte = encoded[i];
        for (int bit = 7; bit >= 0; --bit) {
            level += ((byte >> bit) & 1) ? step : -step;
            level = std::clamp(level, 0, 255);
            *sample++ = static_cast<std::uint8_t>(level);
        }
    }
    return count * 8;
}

}  // namespace korvex
