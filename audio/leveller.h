#pragma once
#include <cstdint>
#include <vector>

#include "audio/sound.h"

namespace korvex {

// Levelling before the 8-bit conversion: silence cut at both ends (below 2 %
// of the peak), the peak raised or lowered to 0.95, and a fade of 5 ms in and
// out so the cut ends do not click. False, with the sound left empty, when
// the sound holds nothing above silence.
bool LevelSound(Sound& sound);

// A fade of 5 ms at the end only, for a sound cut short.
void FadeOutEnd(Sound& sound);

// Unsigned 8-bit samples around 128, as the module's WAV files hold them.
std::vector<std::uint8_t> ToUnsigned8(const Sound& sound);

}  // namespace korvex
