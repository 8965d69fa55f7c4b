#include "audio/leveller.h"

#include <algorithm>
#include <cmath>

namespace korvex {
namespace {

constexpr float kSilenceShare = 0.02f;
constexpr float kPeak = 0.95f;
constexpr double kFadeSeconds = 0.005;
// Anything quieter than this (about -66 dBFS, a quarter of a 16-bit step
// above dither) is taken as a file of silence, not raised to full level.
constexpr float kAudible = 0.0005f;

std::size_t FadeLength(const Sound& sound) {
    return std::min(sound.samples.size() / 2, static_cast<std::size_t>(kFadeSeconds * sound.rate));
}

}  // namespace

bool LevelSound(Sound& sound) {
    std::vector<float>& s = sound.samples;
    float peak = 0.0f;
    for (float v : s) peak = std::max(peak, std::fabs(v));
    if (peak < kAudible) {
        s.clear();
        return false;
    }
    const float threshold = peak * kSilenceShare;
    const auto loud = [&](float v) { return std::fabs(v) >= threshold; };
    const auto first = std::find_if(s.begin(), s.end(), loud);
    const auto last = std::find_if(s.rbegin(), s.rend(), loud).base();
    s = std::vector<float>(first, last);

    const float gain = kPeak / peak;
    for (float& v : s) v *= gain;
    const std::size_t fade = FadeLength(sound);
    for (std::size_t i = 0; i < fade; ++i) {
        const float g = static_cast<float>(i) / static_cast<float>(fade);
        s[i] *= g;
        s[s.size() - 1 - i] *= g;
    }
    return true;
}

void FadeOutEnd(Sound& sound) {
    const std::size_t fade = FadeLength(sound);
    for (std::size_t i = 0; i < fade; ++i)
        sound.samples[sound.samples.size() - 1 - i] *= static_cast<float>(i) / static_cast<float>(fade);
}

std::vector<std::uint8_t> ToUnsigned8(const Sound& sound) {
    std::vector<std::uint8_t> out(sound.samples.size());
    std::transform(sound.samples.begin(), sound.samples.end(), out.begin(), [](float v) {
        const float level = 128.0f + 127.0f * std::clamp(v, -1.0f, 1.0f);
        return static_cast<std::uint8_t>(std::lround(level));
    });
    return out;
}

}  // namespace korvex
