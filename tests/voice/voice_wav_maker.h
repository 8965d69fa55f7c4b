#pragma once
#include <cstdint>
#include <vector>

#include "voice/wav_buffer.h"

namespace korvex::test {

struct WavFields {
    std::uint32_t rate = 22050;
    std::uint16_t bits = 8;
    std::uint16_t channels = 1;
    bool fmtTag = true;
};

// A canonical 44-byte header followed by `samples`.
inline std::vector<std::uint8_t> MakeWav(const std::vector<std::uint8_t>& samples, WavFields f = {}) {
    std::vector<std::uint8_t> file(kWavHeaderSize);
    WriteWavHeader(file, f.rate, static_cast<std::uint32_t>(samples.size()));
    file[22] = static_cast<std::uint8_t>(f.channels);
    file[23] = static_cast<std::uint8_t>(f.channels >> 8);
    file[32] = static_cast<std::uint8_t>(f.channels * f.bits / 8);
    file[34] = static_cast<std::uint8_t>(f.bits);
    if (!f.fmtTag) file[12] = 'F';
    file.insert(file.end(), samples.begin(), samples.end());
    return file;
}

// A slow sawtooth that exercises both directions of the codec.
inline std::vector<std::uint8_t> Sawtooth(std::size_t count, unsigned seed = 0) {
    std::vector<std::uint8_t> s(count);
    for (std::size_t i = 0; i < count; ++i) s[i] = static_cast<std::uint8_t>((i * 3 + seed * 17) % 256);
    return s;
}

}  // namespace korvex::test
