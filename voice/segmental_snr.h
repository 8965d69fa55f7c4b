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

inline constexpr std::size_t kSnrFrame = 256;

}  // namespace korvex
