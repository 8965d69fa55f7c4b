#pragma once
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "cli/module_session.h"
#include "voice/delta_encoder.h"

namespace korvex::cli {

// The file read-sound writes slot (from 0) to.
std::filesystem::path SlotFile(const std::filesystem::path& dir, int slot);

// read-sound -d DIR: every slot read and written as DIR/slot1.wav, slot2.wav ...
int ReadSoundCommand(const Context& ctx, const std::string& dir);

struct WriteSoundOptions {
    bool fresh = false;                                // start from empty slots
    std::vector<std::pair<int, std::string>> slots;   // slot number from 1, sound file
    std::string encoder = "plain";                     // DeltaEncoder by name
    std::uint16_t rate = 0;                            // converted files: 0, the program's own
    bool rateGiven = false;                            // --rate was given (0 is then refused)
    bool cut = false;                                  // a sound too long is cut to fit
    bool json = false;                                 // a summary of the slots written, once verified
};

// write-sound: the slots not named keep what the module holds; the named
// ones take their sound files (8-bit mono WAV files at an accepted rate as
// they are, any other sound converted); every slot is written and read back.
int WriteSoundCommand(const Context& ctx, const WriteSoundOptions& options);

}  // namespace korvex::cli
