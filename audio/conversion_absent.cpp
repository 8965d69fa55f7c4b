// The conversion's three calls in a build without libsndfile, libsoxr and
// espeak-ng: each fails, so only files in the module's own format load.
#include "audio/resample.h"
#include "audio/sound_file.h"
#include "audio/sound_texts.h"
#include "audio/speech.h"

namespace korvex {

bool SoundConversionAvailable() { return false; }

// Nothing here can tell sound from other data: the intake then says that
// conversion is missing rather than call the file no sound.
bool SoundFileOpens(const std::filesystem::path&, std::string&) { return true; }

SoundFileRead ReadSoundFile(const std::filesystem::path&) {
    SoundFileRead read;
    read.reason = kSoundEnglish.noConversion;
    return read;
}

ResampleOutcome Resample(const Sound&, int) {
    ResampleOutcome outcome;
    outcome.error = kSoundEnglish.noConversion;
    return outcome;
}

SpeechResult Speak(std::string_view, std::string_view) {
    SpeechResult result;
    result.reason = kSoundEnglish.noConversion;
    return result;
}

}  // namespace korvex
