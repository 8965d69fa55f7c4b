#pragma once
#include <filesystem>
#include <string>

#include "audio/sound.h"

namespace korvex {

// What the file held and how it was read.
struct SoundFileRead {
    bool ok = false;
    std::string reason;      // the library's words when not ok
    bool notFinite = false;  // not ok: a sample is NaN or infinite
    int channels = 0;
    Sound sound;  // mixed to mono at the file's own rate
    // How long the whole file is, as far as it says: more than `sound` holds
    // when reading stopped at kMostSeconds. `longer` when it stopped there
    // in a file that tells no length (a stream).
    double seconds = 0;
    bool longer = false;
};

// Longer than any slot by far: what is read beyond is never needed, and a
// device or pipe that never ends stops here.
inline constexpr double kMostSeconds = 600.0;

// Reads any file libsndfile knows (WAV in every PCM and float format, FLAC,
// OGG/Vorbis, Opus, MP3...) and mixes its channels to one by their mean;
// at most kMostSeconds (and a block) of it. A NaN or infinite sample (a
// float file) refuses the file: no level or length could be made of it.
SoundFileRead ReadSoundFile(const std::filesystem::path& path);

// Whether libsndfile takes the file as sound at all, by its header only;
// `reason` gets the library's words when it does not.
bool SoundFileOpens(const std::filesystem::path& path, std::string& reason);

// False in a build without libsndfile, libsoxr and espeak-ng (Windows):
// there ReadSoundFile, Resample and Speak fail every call, and the sound
// intake says so before calling them.
bool SoundConversionAvailable();

}  // namespace korvex
