#include "audio/sound_file.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "link/path_text.h"

namespace korvex {

bool SoundFileOpens(const std::filesystem::path& path, std::string& reason) {
    SF_INFO info{};
    SNDFILE* file = sf_open(PathToUtf8(path).c_str(), SFM_READ, &info);
    if (!file) {
        reason = sf_strerror(nullptr);
        return false;
    }
    sf_close(file);
    return true;
}

bool SoundConversionAvailable() { return true; }

SoundFileRead ReadSoundFile(const std::filesystem::path& path) {
    SoundFileRead read;
    SF_INFO info{};
    struct Closer {
        void operator()(SNDFILE* f) const { sf_close(f); }
    };
    std::unique_ptr<SNDFILE, Closer> file(sf_open(PathToUtf8(path).c_str(), SFM_READ, &info));
    if (!file) {
        read.reason = sf_strerror(nullptr);
        return read;
    }
    if (info.channels < 1 || info.samplerate < 1) {
        read.reason = "no channels or no sample rate";
        return read;
    }
    // Whole blocks are read until the end, because some formats (MP3, Opus)
    // announce no exact frame count; an endless source stops at the limit.
    constexpr sf_count_t kBlock = 8192;
    const auto channels = static_cast<std::size_t>(info.channels);
    std::vector<float> block(static_cast<std::size_t>(kBlock) * channels);
    std::vector<float>& mono = read.sound.samples;
    const auto most = static_cast<std::size_t>(kMostSeconds * info.samplerate);
    while (mono.size() < most) {
        const sf_count_t got = sf_readf_float(file.get(), block.data(), kBlock);
        if (got <= 0) break;
        for (sf_count_t i = 0; i < got; ++i) {
            float sum = 0.0f;
            for (std::size_t c = 0; c < channels; ++c) {
                const float v = block[static_cast<std::size_t>(i) * channels + c];
                if (!std::isfinite(v)) {
                    read.notFinite = true;
                    read.sound.samples.clear();
                    return read;
                }
                sum += v;
            }
            mono.push_back(sum / static_cast<float>(channels));
        }
    }
    if (sf_error(file.get()) != SF_ERR_NO_ERROR) {
        read.reason = sf_strerror(file.get());
        return read;
    }
    read.ok = true;
    read.channels = info.channels;
    read.sound.rate = info.samplerate;
    read.seconds = read.sound.Seconds();
    if (mono.size() >= most) {
        // Stopped at the limit: the rest is told by the file's own length.
        const bool told = info.frames > 0 && info.frames != SF_COUNT_MAX;
        if (told) read.seconds = std::max(read.seconds, static_cast<double>(info.frames) / info.samplerate);
        else read.longer = true;
    }
    return read;
}

}  // namespace korvex
