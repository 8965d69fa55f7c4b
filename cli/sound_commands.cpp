#include "cli/sound_commands.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <set>
#include <system_error>

#include "cli/cli_error.h"
#include "cli/cli_files.h"
#include "cli/json_output.h"
#include "cli/slot_sound.h"
#include "link/path_text.h"
#include "voice/voice_rules.h"
#include "voice/voice_store.h"
#include "voice/voice_transfer.h"
#include "voice/wav_buffer.h"
#include "voice/wav_intake.h"

namespace korvex::cli {
namespace {

// Two reads of one slot agree: its directory entry and its sound.
bool SameSlot(const VoiceStore& a, const VoiceStore& b, int slot) {
    const auto s = static_cast<std::size_t>(slot);
    if (a.slotLength[s] != b.slotLength[s] || a.slotStart[s] != b.slotStart[s] || a.slotRate[s] != b.slotRate[s])
        return false;
    const std::size_t n = std::min<std::size_t>(a.slotLength[s], a.Area(slot).size());
    return std::equal(a.Area(slot).begin(), a.Area(slot).begin() + n, b.Area(slot).begin());
}

// What the module holds now, slot by slot, and the file each named slot took.
void PrintWrittenJson(const Context& ctx, const VoiceStore& store, const VoiceWriteOutcome& written,
                      const WriteSoundOptions& options) {
    JsonObject slots = JsonObject::array();
    for (int slot = 0; slot < store.SlotCount(); ++slot) {
        const auto s = static_cast<std::size_t>(slot);
        JsonObject file;
        for (const auto& [number, name] : options.slots) {
            if (number == slot + 1) file = name;
        }
        slots.push_back({{"slot", slot + 1},
                         {"file", file},
                         {"bytes", store.slotLength[s]},
                         {"rate", store.slotRate[s]},
                         {"start", store.slotStart[s]}});
    }
    PrintJson({{"module", ctx.profile.name}, {"slots", slots}, {"used", written.used}, {"room", written.room}});
}

}  // namespace

std::filesystem::path SlotFile(const std::filesystem::path& dir, int slot) {
    return dir / ("slot" + std::to_string(slot + 1) + ".wav");
}

int ReadSoundCommand(const Context& ctx, const std::string& dir) {
    std::error_code ec;
    const std::filesystem::path folder = PathFromUtf8(dir);
    std::filesystem::create_directories(folder, ec);
    if (ec || !std::filesystem::is_directory(folder, ec)) {
        if (!ec) ec = std::make_error_code(std::errc::not_a_directory);
        throw CliError(kExitInput, std::string(ctx.texts.fileCreate) + dir + ": " + ec.message());
    }
    return RunOnModule(ctx, [&](ModuleSession& session) {
        session.Announce([&](TwoWireBus& bus) {
            NullProgress quiet;
            auto scratch = std::make_unique<VoiceStore>(ctx.profile);
            auto scratchWav = std::make_unique<WavBuffer>(ctx.profile);
            static_cast<void>(ReadAllSlots(bus, *scratch, *scratchWav, quiet));  // a dry run: only its bus calls count
        });
        VoiceStore store(ctx.profile);
        WavBuffer wav(ctx.profile);
        RequireOk(ctx, ReadAllSlots(session.Bus(), store, wav, session.GetProgress()));
        for (int slot = 0; slot < store.SlotCount(); ++slot) {
            store.currentSlot = slot;
            DecodeSlotToWav(store, wav);
            const std::size_t size = std::min(wav.bytes.size(), kWavHeaderSize + wav.SoundLength);
            WriteOutputFile(SlotFile(folder, slot), std::span(wav.bytes).first(size), ctx.texts);
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
    CheckSlotSoundOptions(ctx, options);
    // Every file is opened before the module is touched, so a missing one
    // costs no transfer.
    for (const auto& entry : options.slots) ReadInputHead(PathFromUtf8(entry.second), ctx.texts, kWavHeaderSize);

    return RunOnModule(ctx, [&](ModuleSession& session) {
        VoiceStore store(ctx.profile);
        WavBuffer wav(ctx.profile);
        if (!options.fresh) {
            RequireOk(ctx, ReadAllSlots(session.Bus(), store, wav, session.GetProgress()));
            // Every slot is written back, so one misread bit would damage a
            // slot nobody named: the kept slots are read twice and must agree.
            VoiceStore again(ctx.profile);
            WavBuffer againWav(ctx.profile);
            RequireOk(ctx, ReadAllSlots(session.Bus(), again, againWav, session.GetProgress()));
            for (int slot = 0; slot < slotCount; ++slot) {
                if (named.count(slot + 1)) continue;
                if (!SameSlot(store, again, slot))
                    throw CliError(kExitModule, std::string(ctx.texts.readsDisagree) + std::to_string(slot + 1));
            }
        }

        // The named slots are replaced; the others must fit as they stand,
        // which the lengths an erased module holds never do.
        for (int slot : named) store.slotLength[static_cast<std::size_t>(slot - 1)] = 0;
        if (store.Used() > VoiceRoom(ctx.profile)) {
            throw CliError(kExitModule,
                           std::string(ctx.texts.directoryDoesNotFit) + "\n" + std::string(ctx.texts.freshHint));
        }

        for (std::size_t i = 0; i < options.slots.size(); ++i) {
            store.currentSlot = options.slots[i].first - 1;
            LoadSlotSound(ctx, options.slots[i].second, store, wav, options);
        }

        session.Announce([&](TwoWireBus& bus) {
            NullProgress quiet;
            auto scratch = std::make_unique<VoiceStore>(store);
            static_cast<void>(WriteAllSlots(bus, *scratch, quiet));  // a dry run: only its bus calls count
        });
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
                const std::string where = m.slot == SlotMismatch::kDirectorySlot
                                              ? std::string(ctx.texts.directoryWord)
                                              : std::string(ctx.texts.slotWord) + " " + std::to_string(m.slot + 1);
                message += std::string(ctx.profile.texts.writeError) + " (" + where + ", " +
                           std::string(ctx.texts.atAddress) + " " + std::to_string(m.address) + ")";
            }
            throw CliError(kExitMismatch, message);
        }
        if (options.json) PrintWrittenJson(ctx, store, written, options);
        return kExitOk;
    }, ModuleAccess::Writes);
}

}  // namespace korvex::cli
