#pragma once
#include <sndfile.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace korvex::test {

// What a test sound file holds: a tone of `seconds` on every channel (or
// silence), written by libsndfile in `format` (SF_FORMAT_WAV | SF_FORMAT_PCM_16...).
struct SoundFileSpec {
    int format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    int rate = 44100;
    int channels = 2;
    double seconds = 1.0;
    double amplitude = 0.5;  // 0: silence
    double hertz = 440.0;
};

inline void WriteSoundFile(const std::filesystem::path& path, const SoundFileSpec& spec) {
    SF_INFO info{};
    info.samplerate = spec.rate;
    info.channels = spec.channels;
    info.format = spec.format;
    SNDFILE* file = sf_open(path.string().c_str(), SFM_WRITE, &info);
    if (!file) throw std::runtime_error(path.string() + ": " + sf_strerror(nullptr));
    const auto frames = static_cast<std::size_t>(spec.seconds * spec.rate);
    std::vector<float> samples(frames * static_cast<std::size_t>(spec.channels));
    for (std::size_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / spec.rate;
        const auto v = static_cast<float>(spec.amplitude * std::sin(2 * M_PI * spec.hertz * t));
        for (int c = 0; c < spec.channels; ++c) samples[i * static_cast<std::size_t>(spec.channels) + static_cast<std::size_t>(c)] = v;
    }
    sf_writef_float(file, samples.data(), static_cast<sf_count_t>(frames));
    sf_close(file);
}

inline std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                 static_cast<std::streamsize>(bytes.size()));
}

}  // namespace korvex::test
