#include "voice/voice_demo.h"

#include <algorithm>
#include <cmath>

#include "voice/voice_store.h"
#include "voice/wav_buffer.h"
#include "voice/wav_intake.h"

namespace korvex {

std::vector<std::uint8_t> DemoVoiceSamples() {
    constexpr double kRate = 22050;
    constexpr double kPi = 3.14159265358979323846;
    constexpr int kCount = 13230;  // 0.6 s
    std::vector<std::uint8_t> samples(kCount);
    for (int i = 0; i < kCount; ++i) {
        const double t = i / kRate;
        // Two notes of 0.3 s each, with a soft attack and a decay. Their
        // steepest slope (50 x 2 pi x 330 / 22050, about 4.7 a sample) stays
        // within the full module's step of 5, so the 1-bit stream follows.
        const double tone = t < 0.3 ? 220.0 : 330.0;
        const double local = t < 0.3 ? t : t - 0.3;
        const double envelope = std::min(1.0, local / 0.02) * std::exp(-local * 4.0);
        const double v = 128.0 + 50.0 * envelope * std::sin(2 * kPi * tone * t);
        samples[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L));
    }
    return samples;
}

void PutDemoVoice(const Profile& profile, std::span<std::uint8_t> memory) {
    VoiceStore store(profile);
    WavBuffer wav(profile);
    const std::vector<std::uint8_t> samples = DemoVoiceSamples();
    std::vector<std::uint8_t> file(kWavHeaderSize);
    WriteWavHeader(file, 22050, static_cast<std::uint32_t>(samples.size()));
    file.insert(file.end(), samples.begin(), samples.end());
    static_cast<void>(LoadWav(file, store, wav));  // a small canonical file: always accepted
    LayOutSlots(store);

    const std::vector<std::uint8_t> directory = EncodeDirectory(store);
    std::copy(directory.begin(), directory.end(), memory.begin() + profile.directoryAddress);
    const auto slot = store.Area(0).first(store.slotLength[0]);
    std::copy(slot.begin(), slot.end(), memory.begin() + store.slotStart[0]);
}

}  // namespace korvex
