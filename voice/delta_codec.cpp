#include "voice/delta_codec.h"

#include <algorithm>
#include <array>

namespace korvex {

namespace {

constexpr int kStartLevel = 128;

// For every encoded byte, the level after each of its eight bits in units of
// the step, relative to the level before the byte (-8..8).
constexpr auto kRunningSteps = [] {
    std::array<std::array<std::int8_t, 8>, 256> table{};
    for (int byte = 0; byte < 256; ++byte) {
        int sum = 0;
        for (int bit = 0; bit < 8; ++bit) {
            sum += ((byte >> (7 - bit)) & 1) ? 1 : -1;
            table[static_cast<std::size_t>(byte)][static_cast<std::size_t>(bit)] = static_cast<std::int8_t>(sum);
        }
    }
    return table;
}();

}  // namespace

std::size_t EncodeDelta(std::span<const std::uint8_t> samples, int step, std::span<std::uint8_t> out) {
    const std::size_t count = std::min(samples.size() / 8, out.size());
    int level = kStartLevel;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* group = samples.data() + i * 8;
        unsigned byte = 0;
        for (int bit = 0; bit < 8; ++bit) {
            // Written without a branch: the bits of real sound are close to random.
            const int up = level < group[bit];
            byte = (byte << 1) | static_cast<unsigned>(up);
            level += (up ? step : -step);
        }
        out[i] = static_cast<std::uint8_t>(byte);
    }
    return count;
}

std::size_t DecodeDelta(std::span<const std::uint8_t> encoded, int step, std::span<std::uint8_t> out) {
    const std::size_t count = std::min(encoded.size(), out.size() / 8);
    const int reach = 8 * step;  // farthest one byte can move the level
    int level = kStartLevel;
    std::uint8_t* sample = out.data();
    for (std::size_t i = 0; i < count; ++i, sample += 8) {
        const unsigned byte = encoded[i];
        if (level >= reach && level <= 255 - reach) {
            // No clamping can happen within this byte.
            const auto& steps = kRunningSteps[byte];
            for (int bit = 0; bit < 8; ++bit) sample[bit] = static_cast<std::uint8_t>(level + step * steps[bit]);
            level += step * steps[7];
            continue;
        }
        for (int bit = 0; bit < 8; ++bit) {
            level += ((byte >> (7 - bit)) & 1) ? step : -step;
            level = std::clamp(level, 0, 255);
            sample[bit] = static_cast<std::uint8_t>(level);
        }
    }
    return count * 8;
}

}  // namespace korvex
