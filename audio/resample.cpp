#include "audio/resample.h"

#include <soxr.h>

#include <cmath>

namespace korvex {

ResampleOutcome Resample(const Sound& sound, int rate) {
    ResampleOutcome outcome;
    Sound& out = outcome.sound;
    out.rate = rate;
    if (sound.rate == rate || sound.samples.empty()) {
        out.samples = sound.samples;
        return outcome;
    }
    const double ratio = static_cast<double>(rate) / sound.rate;
    out.samples.resize(static_cast<std::size_t>(std::ceil(static_cast<double>(sound.samples.size()) * ratio)) + 16);
    const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
    std::size_t done = 0;
    const soxr_error_t failed = soxr_oneshot(sound.rate, rate, 1, sound.samples.data(), sound.samples.size(),
                                             nullptr, out.samples.data(), out.samples.size(), &done, &io,
                                             &quality, nullptr);
    if (failed) {
        outcome.error = failed;
        out.samples.clear();
        return outcome;
    }
    out.samples.resize(done);
    return outcome;
}

}  // namespace korvex
