#pragma once
#include <cstdint>
#include <string>

#include "cli/module_session.h"

namespace korvex::cli {

struct SpeakOptions {
    std::string text;
    std::string language = "ru";  // "ru" / "en"
    std::string out;              // the WAV file written
    std::uint16_t rate = 0;       // 0: the program's own slot rate
    bool rateGiven = false;       // --rate was given (0 is then refused)
};

// speak: the text spoken by espeak-ng, made ready for a slot (resampled,
// levelled, 8-bit mono) and written as a WAV file that write-sound takes as
// it is.
int SpeakCommand(const Context& ctx, const SpeakOptions& options);

// The words of the sound conversion on the command line.
struct SoundCliTexts {
    std::string_view cutHint;  // after a sound too long
};
const SoundCliTexts& SoundCliTextsFor(const Profile& profile);

}  // namespace korvex::cli
