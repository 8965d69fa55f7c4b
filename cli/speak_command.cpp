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
    return profile.kind == ModuleKind::Full ? russian : english;
}

int SpeakCommand(const Context& ctx, const SpeakOptions& options) {
    SoundOutcome outcome;
    outcome.rate = options.rate ? options.rate : DefaultSlotRate(ctx.profile);
    if (options.text.find_first_not_of(" \t\r\n") == std::string::npos) outcome.result = SoundResult::NoText;
    else if (!SlotRateAccepted(ctx.profile, outcome.rate)) outcome.result = SoundResult::BadRate;
    if (!outcome.Ok()) throw CliError(kExitUsage, SoundOutcomeText(ctx.profile, outcome));

    const SpeechResult spoken = Speak(options.text, options.language);
    if (!spoken.ok) {
        outcome.result = SoundResult::SpeechFailed;
        outcome.reason = spoken.reason;
        throw CliError(kExitInput, SoundOutcomeText(ctx.profile, outcome));
    }
    std::string error;
    const std::vector<std::uint8_t> file = SlotReadyWav(spoken.sound, outcome.rate, error);
    if (file.empty()) {
        outcome.result = error.empty() ? SoundResult::Silent : SoundResult::SpeechFailed;
        outcome.reason = error;
        throw CliError(kExitInput, SoundOutcomeText(ctx.profile, outcome));
    }
    WriteOutputFile(PathFromUtf8(options.out), file, ctx.texts);
    return kExitOk;
}

}  // namespace korvex::cli
