#include "voice/segmental_snr.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

namespace korvex {

namespace {

// Signal power (around 128) of each whole frame.
std::vector<double> FrameSignal(std::span<const std::uint8_t> original, std::size_t frames) {
    std::vector<double> signal(frames, 0.0);
    for (std::size_t i = 0; i < frames * kSnrFrame; ++i) {
        const double s = static_cast<double>(original[i]) - 128.0;
        signal[i / kSnrFrame] += s * s;
    }
    return signal;
}

double MeanFrameDb(const std::vector<double>& signal, const std::vector<double>& noise) {
    const double loudest = signal.empty() ? 0.0 : *std::max_element(signal.begin(), signal.end());
    const double silent = loudest * 1e-4;
    double sum = 0.0;
    std::size_t counted = 0;
    for (std::size_t f = 0; f < signal.size(); ++f) {
        if (signal[f] <= silent || signal[f] == 0.0) continue;
        const double db = noise[f] == 0.0 ? 40.0 : 10.0 * std::log10(signal[f] / noise[f]);
        sum += std::clamp(db, -10.0, 40.0);
        ++counted;
    }
    return counted ? sum / static_cast<double>(counted) : 0.0;
}

// The least squared error any decoder path leaves in one frame, free to
// start at any level: a search over all 256 levels, clamping included.
double LeastFrameNoise(std::span<const std::uint8_t> frame, int step) {
    constexpr int kLevels = 256;
    std::array<double, kLevels> cost{};
    std::array<double, kLevels> next{};
    for (const std::uint8_t sample : frame) {
        next.fill(std::numeric_limits<double>::max());
        for (int level = 0; level < kLevels; ++level) {
            const int up = std::min(level + step, kLevels - 1);
            const int down = std::max(level - step, 0);
            next[static_cast<std::size_t>(up)] = std::min(next[static_cast<std::size_t>(up)], cost[static_cast<std::size_t>(level)]);
            next[static_cast<std::size_t>(down)] =
                std::min(next[static_cast<std::size_t>(down)], cost[static_cast<std::size_t>(level)]);
        }
        for (int level = 0; level < kLevels; ++level) {
            const double e = level - static_cast<int>(sample);
            cost[static_cast<std::size_t>(level)] = next[static_cast<std::size_t>(level)] + e * e;
        }
    }
    return *std::min_element(cost.begin(), cost.end());
}

}  // namespace

double SegmentalSnr(std::span<const std::uint8_t> original, std::span<const std::uint8_t> decoded) {
    const std::size_t frames = std::min(original.size(), decoded.size()) / kSnrFrame;
    std::vector<double> noise(frames, 0.0);
    for (std::size_t i = 0; i < frames * kSnrFrame; ++i) {
        const double e = static_cast<double>(original[i]) - static_cast<double>(decoded[i]);
        noise[i / kSnrFrame] += e * e;
    }
    return MeanFrameDb(FrameSignal(original, frames), noise);
}

double SegmentalSnrCeiling(std::span<const std::uint8_t> original, int step) {
    const std::size_t frames = original.size() / kSnrFrame;
    step = std::clamp(step, 1, 255);
    std::vector<double> noise(frames, 0.0);
    for (std::size_t f = 0; f < frames; ++f) noise[f] = LeastFrameNoise(original.subspan(f * kSnrFrame, kSnrFrame), step);
    return MeanFrameDb(FrameSignal(original, frames), noise);
}

}  // namespace korvex
