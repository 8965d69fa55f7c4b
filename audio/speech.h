#pragma once
#include <string>
#include <string_view>

#include "audio/sound.h"

namespace korvex {

struct SpeechResult {
    bool ok = false;
    std::string reason;  // espeak-ng's words when not ok
    Sound sound;         // at espeak-ng's own rate (22050 Hz)
};

// Speaks UTF-8 `text` with espeak-ng's voice for `language` ("ru", "en").
// Calls are serialised: espeak-ng keeps one global state.
SpeechResult Speak(std::string_view text, std::string_view language);

}  // namespace korvex
