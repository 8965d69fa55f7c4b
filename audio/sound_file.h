#pragma once
#include <filesystem>
#include <string>

#include "audio/sound.h"

namespace korvex {

// What the file held and how it was read.
struct SoundFileRead {
    bool ok = false;
    std::string reason;  // the library's words when not ok
    int channels = 0;
    Sound sound;         // mixed to mono at the file's own rate
};

// Reads any file libsndfile knows (WAV in every PCM and float format, FLAC,
// OGG/Vorbis, Opus, MP3...) and mixes its channels to one by their mean.
SoundFileRead ReadSoundFile(const std::filesystem::path& path);

}  // namespace korvex
