#pragma once
#include <string>

#include "audio/sound.h"

namespace korvex {

// The sound at `rate` Hz (libsoxr, high quality). Empty with the library's
// words in `error` when the conversion fails.
Sound Resample(const Sound& sound, int rate, std::string& error);

}  // namespace korvex
