#pragma once
#include <cstddef>
#include <cstdint>
#include <span>

namespace korvex {

// The module's voice format: one bit per sample, eight samples per byte with
// the first sample in the most significant bit. The level starts at 128; a 1
// raises it by `step`, a 0 lowers it by `step`.

// Encodes whole groups of eight samples into `out`; a last group of fewer
// than eight is dropped, and so is anything that does not fit `out`. The
// encoder's own level is not clamped (it follows samples of 0..255, so it
// stays within -step..255+step). Returns the number of bytes stored.
std::size_t EncodeDelta(std::span<const std::uint8_t> samples, int step, std::span<std::uint8_t> out);

// Decodes as many bytes of `encoded` as `out` has room for (eight samples
// each), clamping the level to 0..255 after every step; the clamped level
// carries on. Returns the number of samples stored.
std::size_t DecodeDelta(std::span<const std::uint8_t> encoded, int step, std::span<std::uint8_t> out);

}  // namespace korvex
