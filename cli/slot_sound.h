#pragma once
#include <string>

#include "cli/module_session.h"
#include "cli/sound_commands.h"

namespace korvex {
class VoiceStore;
struct WavBuffer;
}  // namespace korvex

namespace korvex::cli {

// write-sound's way into a slot, the one place where korvex-cli differs by
// whether it has korvex_audio (KORVEX_WITH_AUDIO). With it, any sound file
// is converted; without it (the Windows build, which has no libsndfile,
// libsoxr or espeak-ng) only the files the WAV intake takes go in.

// Usage errors of the conversion's options, found before the module is touched.
void CheckSlotSoundOptions(const Context& ctx, const WriteSoundOptions& options);

// Loads `file` (UTF-8) into the current slot; a file that does not go in
// ends the command with exit status 4 and the file's message.
void LoadSlotSound(const Context& ctx, const std::string& file, VoiceStore& store, WavBuffer& wav,
                   const WriteSoundOptions& options);

}  // namespace korvex::cli
