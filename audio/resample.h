#pragma once
#include <string>

#include "audio/sound.h"

namespace korvex {

// A sound converted, or the library's words for why not.
struct [[nodiscard]] ResampleOutcome {
    Sound sound;        // empty on failure
    std::string error;  // empty on success
    bool Ok() const { return error.empty(); }
};

// The sound at `rate` Hz (libsoxr, high quality).
ResampleOutcome Resample(const Sound& sound, int rate);

}  // namespace korvex
