#include "cli/slot_sound.h"

#include "cli/cli_error.h"
#include "link/path_text.h"
#include "voice/delta_encoder.h"
#include "voice/wav_buffer.h"
#include "voice/wav_intake.h"

#if KORVEX_WITH_AUDIO
#include "audio/sound_intake.h"
#include "cli/speak_command.h"
#else
#include "cli/cli_files.h"
#endif

namespace korvex::cli {

#if KORVEX_WITH_AUDIO

void CheckSlotSoundOptions(const Context& ctx, const WriteSoundOptions& options) {
    // --rate 0 is no rate, not the default.
    if ((options.rate || options.rateGiven) && !SlotRateAccepted(ctx.profile, options.rate)) {
        SoundOutcome bad;
        bad.result = SoundResult::BadRate;
        throw CliError(kExitUsage, "--rate: " + SoundOutcomeText(ctx.profile, bad));
    }
}

void LoadSlotSound(const Context& ctx, const std::string& file, VoiceStore& store, WavBuffer& wav,
                   const WriteSoundOptions& options) {
    const DeltaEncoder encoder = ParseDeltaEncoder(options.encoder).value_or(DeltaEncoder::Plain);
    const SoundOptions sound{.rate = options.rate, .encoder = encoder, .fittingEncoder = encoder, .cut = options.cut};
    SoundOutcome loaded = LoadSoundFile(PathFromUtf8(file), store, wav, sound);
    if (loaded.Ok()) return;
    loaded.file.clear();  // the file leads the message already
    loaded.wav.file.clear();
    std::string message = file + ": " + SoundOutcomeText(ctx.profile, loaded);
    if (loaded.result == SoundResult::TooLong) message += " " + std::string(SoundCliTextsFor(ctx.profile).cutHint);
    throw CliError(kExitInput, message);
}

#else

// Without the conversion there are no options of its own to check.
void CheckSlotSoundOptions(const Context&, const WriteSoundOptions&) {}

void LoadSlotSound(const Context& ctx, const std::string& file, VoiceStore& store, WavBuffer& wav,
                   const WriteSoundOptions& options) {
    // A file larger than the WAV buffer is refused by the intake's size
    // check all the same when only its head is read.
    const std::vector<std::uint8_t> bytes = ReadInputHead(PathFromUtf8(file), ctx.texts, ctx.profile.wavBufferSize + 1);
    const DeltaEncoder encoder = ParseDeltaEncoder(options.encoder).value_or(DeltaEncoder::Plain);
    const WavOutcome loaded = LoadWav(bytes, store, wav, encoder);
    if (!loaded.Ok()) throw CliError(kExitInput, file + ": " + WavOutcomeText(ctx.profile, loaded));
}

#endif

}  // namespace korvex::cli
