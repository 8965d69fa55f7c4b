#include "cli/speak_command.h"

#include "audio/sound_intake.h"
#include "audio/speech.h"
#include "cli/cli_error.h"
#include "cli/cli_files.h"
#include "link/path_text.h"

namespace korvex::cli {

const SoundCliTexts& SoundCliTextsFor(const Profile& profile) {
    static const SoundCliTexts russian{.cutHint = "--cut обрезает звук до свободной памяти."};
    static const SoundCliTexts english{.cutHint = "--cut cuts the sound to the free memory."};
    return profile.language == Language::Russian ? russian : english;
}

int SpeakCommand(const Context& ctx, const SpeakOptions& options) {
    SoundOutcome outcome;
    outcome.rate = options.rate || options.rateGiven ? options.rate : DefaultSlotRate(ctx.profile);
    if (options.text.find_first_not_of(" \t\r\n") == std::string::npos) outcome.result = SoundResult::NoText;
    else if (!SlotRateAccepted(ctx.profile, outcome.rate)) outcome.result = SoundResult::BadRate;
    if (!outcome.Ok()) throw CliError(kExitUsage, SoundOutcomeText(ctx.profile, outcome));
    // The file is for a slot: a text that could not fit even in an empty
    // memory is refused before espeak-ng spends time and memory on it.
    const double room = EmptyMemorySeconds(ctx.profile, outcome.rate);
    if (!SpeechMayFit(options.text, room)) {
        outcome.result = SoundResult::TextTooLong;
        outcome.characters = SpokenCharacters(options.text);
        outcome.roomSeconds = room;
        throw CliError(kExitInput, SoundOutcomeText(ctx.profile, outcome));
    }

    const SpeechResult spoken = Speak(options.text, options.language);
    if (!spoken.ok) {
        outcome.result = SoundResult::SpeechFailed;
        outcome.reason = spoken.reason;
        throw CliError(kExitInput, SoundOutcomeText(ctx.profile, outcome));
    }
    const SlotWavOutcome ready = SlotReadyWav(spoken.sound, outcome.rate);
    if (!ready.Ok()) {
        outcome.result = ready.silent ? SoundResult::Silent : SoundResult::SpeechFailed;
        outcome.reason = ready.error;
        throw CliError(kExitInput, SoundOutcomeText(ctx.profile, outcome));
    }
    WriteOutputFile(PathFromUtf8(options.out), ready.file, ctx.texts);
    return kExitOk;
}

}  // namespace korvex::cli
