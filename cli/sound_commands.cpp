#include "cli/sound_commands.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>

#include "cli/cli_error.h"
#include "cli/cli_files.h"
#include "cli/speak_command.h"
#include "audio/sound_intake.h"
#include "voice/voice_rules.h"
#include "voice/voice_store.h"
#include "voice/voice_transfer.h"
#include "voice/wav_buffer.h"
#include "voice/wav_intake.h"

namespace korvex::cli {
namespace {

std::filesystem::path SlotFile(const std::filesystem::path& dir, int slot) {
    return dir / ("slot" + std::to_string(slot + 1) + ".wav");
}

}  // namespace

int ReadSoundCommand(const Context& ctx, const std::string& dir) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec || !std::filesystem::is_directory(dir, ec)) {
        if (!ec) ec = std::make_error_code(std::errc::not_a_directory);
        throw CliError(kExitInput, std::string(ctx.texts.fileCreate) + dir + ": " + ec.message());
    }
    return RunOnModule(ctx, [&](ModuleSession& session) {
        VoiceStore store(ctx.profile);
        WavBuffer wav(ctx.profile);
        RequireOk(ctx, ReadAllSlots(session.Bus(), store, wav, session.GetProgress()));
        for (int slot = 0; slot < store.SlotCount(); ++slot) {
            store.currentSlot = slot;
            DecodeSlotToWav(store, wav);
            const std::size_t size = std::min(wav.bytes.size(), kWavHeaderSize + wav.SoundLength);
            WriteOutputFile(SlotFile(dir, slot), std::span(wav.bytes).first(size), ctx.texts);
        }
        return kExitOk;
    });
}

int WriteSoundCommand(const Context& ctx, const WriteSoundOptions& options) {
    const int slotCount = ctx.profile.slotCount;
    std::set<int> named;
    for (const auto& [slot, file] : options.slots) {
        if (slot < 1 || slot > slotCount)
            throw CliError(kExitUsage, std::string(ctx.texts.badSlot) + std::to_string(slotCount) + ": " +
                                           std::to_string(slot));
        if (!named.insert(slot).second)
            throw CliError(kExitUsage, std::string(ctx.texts.slotTwice) + std::to_string(slot));
    }
    const DeltaEncoder encoder = ParseDeltaEncoder(options.encoder).value_or(DeltaEncoder::Plain);
    if (options.rate && !SlotRateAccepted(ctx.profile, options.rate)) {
        SoundOutcome bad;
        bad.result = SoundResult::BadRate;
        throw CliError(kExitUsage, "--rate: " + SoundOutcomeText(ctx.profile, bad));
    }
    // Every file is opened before the module is touched, so a missing one
    // costs no transfer.
    for (const auto& entry : options.slots) ReadInputHead(entry.second, ctx.texts, kWavHeaderSize);

    return RunOnModule(ctx, [&](ModuleSession& session) {
        VoiceStore store(ctx.profile);
        WavBuffer wav(ctx.profile);
        if (!options.fresh) RequireOk(ctx, ReadAllSlots(session.Bus(), store, wav, session.GetProgress()));

        // The named slots are replaced; the others must fit as they stand,
        // which the lengths an erased module holds never do.
        for (int slot : named) store.slotLength[static_cast<std::size_t>(slot - 1)] = 0;
        if (store.Used() > VoiceRoom(ctx.profile)) {
            throw CliError(kExitModule,
                           std::string(ctx.texts.directoryDoesNotFit) + "\n" + std::string(ctx.texts.freshHint));
        }

        for (std::size_t i = 0; i < options.slots.size(); ++i) {
            store.currentSlot = options.slots[i].first - 1;
            const SoundOptions sound{
                .rate = options.rate, .encoder = encoder, .fittingEncoder = encoder, .cut = options.cut};
            SoundOutcome loaded = LoadSoundFile(options.slots[i].second, store, wav, sound);
            loaded.file.clear();  // the file leads the message already
            loaded.wav.file.clear();
            if (!loaded.Ok()) {
                std::string message = options.slots[i].second + ": " + SoundOutcomeText(ctx.profile, loaded);
                if (loaded.result == SoundResult::TooLong)
                    message += " " + std::string(SoundCliTextsFor(ctx.profile).cutHint);
                throw CliError(kExitInput, message);
            }
        }

        const VoiceWriteOutcome written = WriteAllSlots(session.Bus(), store, session.GetProgress());
        if (written.overMemory) {
            std::string message;
            for (const std::string& line : VoiceWriteMessages(ctx.profile, written)) message += line;
            throw CliError(kExitInput, message);
        }
        RequireOk(ctx, written.check);
        if (!written.mismatches.empty()) {
            std::string message;
            for (const SlotMismatch& m : written.mismatches) {
                if (!message.empty()) message += "\n";
                message += std::string(ctx.profile.texts.writeError) + " (" + std::string(ctx.texts.slotWord) + " " +
                           std::to_string(m.slot + 1) + ", " + std::string(ctx.texts.atAddress) + " " +
                           std::to_string(m.address) + ")";
            }
            throw CliError(kExitMismatch, message);
        }
        return kExitOk;
    });
}

}  // namespace korvex::cli
