#pragma once
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "link/profile.h"
#include "voice/delta_encoder.h"

namespace korvex {

class VoiceStore;
struct WavBuffer;

// How a WAV intake ended. The checks of the header run in the order of this
// list and stop at the first failure.
enum class WavResult {
    Ok,
    CannotOpen,         // nothing changed
    CannotRead,         // nothing changed
    ShorterThanHeader,  // under 44 bytes; nothing changed
    TooLarge,           // would not fit beside the other slots; nothing changed
    UnknownFormat,      // no "fmt " at offset 12
    BadRate,
    BadBits,
    BadChannels,
};

struct [[nodiscard]] WavOutcome {
    WavResult result = WavResult::Ok;
    std::string file;    // the path, when the intake had one
    std::string reason;  // the system's words for an open or read failure
    std::uint16_t rate = 0;  // the rate found at offset 24
    bool Ok() const { return result == WavResult::Ok; }
};

// The program's message for an outcome (empty for Ok).
std::string WavOutcomeText(const Profile& profile, const WavOutcome& outcome);

// Slot length a count of encoded bytes takes: the count itself, or on the
// compact module whole 64-byte pages with one extra page on an exact multiple.
std::uint32_t SlotLengthFor(const Profile& profile, std::uint32_t encodedBytes);

// Loads a WAV file's bytes into the current slot. Only offsets 12 ("fmt "),
// 22 (channels), 24 (rate, low 16 bits) and 34 (bits) are looked at; every
// byte from 44 on is a sample. On success the buffer holds the file as
// loaded and the slot its encoded stream, length and rate. A refused header
// leaves the slot tables and the store as they were: the full program puts
// the current slot's image back into the buffer, the compact one empties it.
// The plain encoder is the module's own; another one only changes which bits
// the slot gets.
WavOutcome LoadWav(std::span<const std::uint8_t> file, VoiceStore& store, WavBuffer& wav,
                   DeltaEncoder encoder = DeltaEncoder::Plain);

// The same from a file; a file that cannot be opened or read changes nothing.
WavOutcome LoadWavFile(const std::filesystem::path& path, VoiceStore& store, WavBuffer& wav);

}  // namespace korvex
