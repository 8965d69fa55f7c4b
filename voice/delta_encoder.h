#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace korvex {

// How the bits of the 1-bit delta stream are chosen. The module's decoder is
// the same for both (DecodeDelta).
enum class DeltaEncoder {
    // The module's own rule: up when the level is below the sample. Stored
    // data is reproduced byte for byte only by this one.
    Plain,
    // A trellis search over every level the decoder can hold (0..255, with
    // its clamping), keeping for each the cheapest bit history; the stream
    // chosen minimises the decoder's total squared error against the input.
    Trellis,
};

// "plain" / "trellis"; nothing for another word.
std::optional<DeltaEncoder> ParseDeltaEncoder(std::string_view name);
std::string_view DeltaEncoderName(DeltaEncoder encoder);

// Same contract as EncodeDelta: whole groups of eight samples, as many as
// `out` holds; returns the bytes stored.
std::size_t EncodeDeltaTrellis(std::span<const std::uint8_t> samples, int step, std::span<std::uint8_t> out);
std::size_t EncodeDeltaWith(DeltaEncoder encoder, std::span<const std::uint8_t> samples, int step,
                            std::span<std::uint8_t> out);

}  // namespace korvex
