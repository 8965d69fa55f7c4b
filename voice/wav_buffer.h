#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "link/profile.h"

namespace korvex {

class VoiceStore;

inline constexpr std::size_t kWavHeaderSize = 44;

// The File page's WAV buffer: the file last loaded (header included) or the
// image of the current slot, and `SoundLength` beside it (the file size after
// a load, 8 x the slot length after a decode, 0 after the compact program
// refused a file).
struct WavBuffer {
    static constexpr std::uint8_t kFill = 127;

    explicit WavBuffer(const Profile& profile) : bytes(profile.wavBufferSize, kFill) {}
    void Clear() { std::fill(bytes.begin(), bytes.end(), kFill); }

    std::vector<std::uint8_t> bytes;
    std::uint32_t SoundLength = 0;
};

// Most encoded bytes whose samples fit behind the header: 32762 / 32007.
std::size_t DecodableBytes(const WavBuffer& wav);

// Writes the canonical 44-byte header for `samples` 8-bit mono samples.
void WriteWavHeader(std::span<std::uint8_t> out, std::uint32_t rate, std::uint32_t samples);

// The current slot as a playable WAV image in `wav`, at the slot's rate. A
// length (low 15 bits) whose samples would run past the buffer is decoded as
// far as the buffer holds, and the header and SoundLength say what was
// decoded.
void DecodeSlotToWav(const VoiceStore& store, WavBuffer& wav);

}  // namespace korvex
