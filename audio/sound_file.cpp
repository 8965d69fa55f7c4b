#include "audio/sound_file.h"

#include <sndfile.h>

#include <memory>

#include "link/path_text.h"

namespace korvex {

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
            for (std::size_t c = 0; c < channels; ++c) sum += block[static_cast<std::size_t>(i) * channels + c];
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
    return read;
}

}  // namespace korvex
