#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "audio/sound.h"
#include "link/profile.h"
#include "voice/delta_encoder.h"
#include "voice/wav_intake.h"

namespace korvex {

class VoiceStore;
struct WavBuffer;

struct SoundOptions {
    std::uint16_t rate = 0;  // 0: the program's own rate (DefaultSlotRate)
    DeltaEncoder encoder = DeltaEncoder::Plain;         // for converted sound
    DeltaEncoder fittingEncoder = DeltaEncoder::Plain;  // for files taken as they are
    bool cut = false;        // a sound too long for the free memory is cut to fit
};

enum class SoundResult {
    Ok,
    Refused,       // the WAV intake refused the file; `wav` says why
    CannotDecode,  // no sound could be read from the file
    Silent,        // nothing above silence
    TooLong,       // longer than the free memory holds; nothing changed
    BadRate,       // a rate the module does not take was asked for
    NoText,        // nothing to speak
    SpeechFailed,
    NotFinite,     // a float sample is NaN or infinite; nothing changed
    BadWav,        // a WAV header neither path can read; `wavFault` says what is wrong
    TextTooLong,   // more text than the free memory could hold spoken; nothing was spoken
    NoConversion,  // the file or text needs the conversion this build lacks; nothing changed
};

// What is wrong with a WAV header that libsndfile cannot read.
enum class WavFault { None, NoChannels, FmtPastEnd };

struct [[nodiscard]] SoundOutcome {
    SoundResult result = SoundResult::Ok;
    WavOutcome wav;          // the WAV intake's own outcome
    bool converted = false;  // mixed, resampled and levelled on the way
    bool cut = false;
    std::string file;
    std::string reason;      // a library's words
    std::uint16_t rate = 0;  // the slot's rate
    double seconds = 0;      // how long the sound is, levelled, at the slot's rate; for a file
                             // longer than was read, the file's own length
    bool longer = false;     // TooLong: the sound lasts more than `seconds` (a stream read so far)
    double roomSeconds = 0;  // how long it may be
    // TooLong of a file taken as it is: the encoded bytes it needs and the
    // bytes free, since its seconds and the room's may round alike.
    std::uint32_t bytes = 0;
    std::uint32_t roomBytes = 0;
    WavFault wavFault = WavFault::None;
    std::size_t characters = 0;  // TextTooLong: the text's characters
    bool Ok() const { return result == SoundResult::Ok; }
};

// 16000 Hz for the full module, 22050 Hz for the compact one.
std::uint16_t DefaultSlotRate(const Profile& profile);
// A rate the module's slots take (the WAV intake's list).
bool SlotRateAccepted(const Profile& profile, std::uint32_t rate);

// The program's message for an outcome (empty for Ok), and the question that
// offers to cut a sound too long.
std::string SoundOutcomeText(const Profile& profile, const SoundOutcome& outcome);
std::string CutQuestion(const Profile& profile, const SoundOutcome& outcome);

// Loads a sound file into the current slot. An 8-bit mono WAV file at a rate
// the module takes goes through the WAV intake unchanged, or, too long, is
// refused as TooLong (with both lengths in bytes) or with `cut` cut to the
// free memory as it is (no levelling, no fade: the slot holds the plain
// encoding's first bytes). Any other file libsndfile reads is mixed to mono,
// resampled to the slot's rate, levelled and encoded. A file neither path
// can read gets the WAV intake's refusal, or BadWav for a header the
// conversion would have taken if it could be read (0 channels, an fmt chunk
// past the end). A file with no samples empties the slot whatever its
// format, as the WAV intake takes a header-only file; one with a NaN or
// infinite sample is refused. In a build without the conversion libraries
// (SoundConversionAvailable false) a file that would be converted is
// NoConversion, and nothing changes.
SoundOutcome LoadSoundFile(const std::filesystem::path& path, VoiceStore& store, WavBuffer& wav,
                           const SoundOptions& options);

// CannotDecode, naming the file, for a file that holds no sound at all: not
// a RIFF/WAVE file (the WAV intake tells what is wrong with one) and nothing
// libsndfile takes. Ok otherwise, also for a file that cannot be opened,
// which the intake reports. Asked before anything is asked about the file.
SoundOutcome CheckIsSound(const std::filesystem::path& path);

// True when LoadSoundFile would convert the file: it is readable but not an
// 8-bit mono WAV file at a rate the module takes.
bool SoundFileNeedsConversion(const Profile& profile, const std::filesystem::path& path);
// Whether `text` could fit in `roomSeconds` once spoken: false when it has
// more letters and digits than the fastest speech says in that time. A
// bound only: a text that passes may still be too long once spoken.
bool SpeechMayFit(std::string_view text, double roomSeconds);
// How long the longest sound a slot at `rate` can hold lasts: the whole
// voice memory, no other slot holding any.
double EmptyMemorySeconds(const Profile& profile, std::uint16_t rate);
// The letters and digits of a UTF-8 text (every non-ASCII character counts as one).
std::size_t SpokenCharacters(std::string_view text);

// Speaks `text` ("ru" or "en" voice) into the current slot like a file; a
// text SpeechMayFit refuses for the free memory is TextTooLong, before speaking;
// NoConversion in a build without the conversion libraries.
SoundOutcome LoadSpeech(std::string_view text, std::string_view language, VoiceStore& store, WavBuffer& wav,
                        const SoundOptions& options);

// The common tail: `sound` at any rate into the current slot.
SoundOutcome LoadSound(Sound sound, VoiceStore& store, WavBuffer& wav, const SoundOptions& options);

// A sound made ready for a slot as a WAV file, or why not.
struct [[nodiscard]] SlotWavOutcome {
    std::vector<std::uint8_t> file;  // empty unless Ok()
    bool silent = false;             // nothing left to hear once levelled
    std::string error;               // the resampler's words
    bool Ok() const { return !silent && error.empty(); }
};

// The 8-bit mono WAV file of a sound made ready for a slot (resampled to
// `rate` and levelled), as `speak -o` writes it.
SlotWavOutcome SlotReadyWav(const Sound& sound, std::uint16_t rate);

}  // namespace korvex
