#include "voice/segmental_snr.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace korvex {

double SegmentalSnr(std::span<const std::uint8_t> original, std::span<const std::uint8_t> decoded) {
    const std::size_t frames = std::min(original.size(), decoded.size()) / kSnrFrame;
    std::vector<double> signal(frames, 0.0);
    std::vector<double> noise(frames, 0.0);
    for (std::size_t f = 0; f < frames; ++f) {
        for (std::size_t i = f * kSnrFrame; i < (f + 1) * kSnrFrame; ++i) {
            const double s = static_cast<double>(original[i]) - 128.0;
            const double e = static_cast<double>(original[i]) - static_cast<double>(decoded[i]);
            signal[f] += s * s;
            noise[f] += e * e;
        }
    }
    const double loudest = frames ? *std::max_element(signal.begin(), signal.end()) : 0.0;
    const double silent = loudest * 1e-4;
    double sum = 0.0;
    std::size_t counted = 0;
    for (std::size_t f = 0; f < frames; ++f) {
        if (signal[f] <= silent || signal[f] == 0.0) continue;
        const double db = noise[f] == 0.0 ? 40.0 : 10.0 * std::log10(signal[f] / noise[f]);
        sum += std::clamp(db, -10.0, 40.0);
        ++counted;
    }
    return counted ? sum / static_cast<double>(counted) : 0.0;
}

}  // namespace korvex
