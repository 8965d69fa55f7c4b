#pragma once
#include <cstdint>
#include <span>
#include <vector>

#include "link/profile.h"

namespace korvex {

// A short voice message for the demo module: a rising two-note chime (220 and 330 Hz) of
// about 0.6 s at 22050 Hz, as 8-bit mono samples.
std::vector<std::uint8_t> DemoVoiceSamples();

// Puts the demo message into a 32768-byte module memory image as the
// programs would write it: the directory (slot 1 holds the message, the
// others are empty) and the encoded slot at the start of the voice data.
void PutDemoVoice(const Profile& profile, std::span<std::uint8_t> memory);

}  // namespace korvex
