#pragma once
#include <cstddef>
#include <cstdint>
#include <span>

namespace korvex {

// Segmental signal-to-noise ratio in dB of `decoded` against `original`
// (8-bit samples around 128): the mean over frames of 256 samples of each
// frame's SNR, held to -10..40 dB. Frames more than 40 dB below the loudest
// frame count as silent and are left out; so is a last partial frame.
// Returns 0 when no frame is left.
double SegmentalSnr(std::span<const std::uint8_t> original, std::span<const std::uint8_t> decoded);

// The most SegmentalSnr any bit stream can reach on `original` through the
// module's delta decoder with `step`: each frame gets the least error any
// stream can leave in it, starting from whatever level suits it best. No
// encoder can do better; how close one comes says what is left to gain.
double SegmentalSnrCeiling(std::span<const std::uint8_t> original, int step);

inline constexpr std::size_t kSnrFrame = 256;

}  // namespace korvex
