#include "voice/voice_transfer.h"

#include <algorithm>

#include "voice/voice_rules.h"
#include "voice/voice_store.h"
#include "voice/wav_buffer.h"

namespace korvex {

std::vector<std::string> VoiceWriteMessages(const Profile& profile, const VoiceWriteOutcome& outcome) {
    std::vector<std::string> lines;
    if (outcome.overMemory) {
        const VoiceRules& rules = VoiceRulesFor(profile);
        lines.push_back(std::string(rules.overMemory) + " " + std::to_string(outcome.used) + " " +
                        std::string(rules.overMemoryBytes) + " " + std::to_string(outcome.room) + " " +
                        std::string(rules.overMemoryRoom));
        return lines;
    }
    if (!outcome.check.Ok()) {
        lines.emplace_back(OutcomeText(profile, outcome.check));
        return lines;
    }
    for (std::size_t i = 0; i < outcome.mismatches.size(); ++i) lines.emplace_back(profile.texts.writeError);
    return lines;
}

namespace {

constexpr std::size_t kBarStep = 64;

std::string SlotStatus(std::string_view text, int slot) {
    return std::string(text) + std::to_string(slot + 1) + "...";
}

void BeginStage(Progress& progress, std::size_t n, std::string_view text, int slot) {
    progress.SetRange(0, static_cast<int>(n));
    progress.SetPos(0);
    progress.SetStatus(SlotStatus(text, slot));
    progress.Show();
}

void EndStage(Progress& progress) {
    progress.SetPos(0);
    progress.Hide();
}

void MoveBar(Progress& progress, std::size_t i) {
    if (i % kBarStep == 0) progress.SetPos(static_cast<int>(i));
}

// Runs that break after every address ending a 64-byte page, and one more
// Stop and wait after the loop even when the last run already closed.
void WriteRuns(TwoWireBus& bus, std::uint16_t start, std::span<const std::uint8_t> data, Progress& progress) {
    bool inRun = false;
    for (std::size_t i = 0; i < data.size(); ++i) {
        const auto a = static_cast<std::uint16_t>(start + i);
        if (!inRun) {
            bus.BeginWrite(a);
            inRun = true;
        }
        bus.WriteByte(data[i]);
        if (a % 64 == 63) {
            bus.Stop();
            bus.Wait();
            inRun = false;
        }
        MoveBar(progress, i);
    }
    bus.Stop();
    bus.Wait();
}

// One page write per 64 bytes, for slots that lie on whole pages.
void WritePages(TwoWireBus& bus, std::uint16_t start, std::span<const std::uint8_t> data, Progress& progress) {
    for (std::size_t j = 0; j < data.size() / 64; ++j) {
        bus.BeginWrite(static_cast<std::uint16_t>(start + 64 * j));
        for (std::size_t i = 0; i < 64; ++i) bus.WriteByte(data[64 * j + i]);
        bus.Stop();
        bus.Wait();
        progress.SetPos(static_cast<int>(64 * j));
    }
}

}  // namespace

namespace {

void ForgetHeldUnder(VoiceStore& store, std::size_t start, std::size_t n) {
    for (auto& held : store.held) {
        if (!held) continue;
        const std::size_t first = held->start, end = first + held->bytes.size();
        if (first < start + n && start < end) held.reset();
    }
}

}  // namespace

void ReadSlot(TwoWireBus& bus, VoiceStore& store, int slot, Progress& progress) {
    const Profile& profile = store.GetProfile();
    const auto s = static_cast<std::size_t>(slot);
    const std::size_t n = std::min<std::size_t>(store.slotLength[s], profile.capacity);
    BeginStage(progress, n, profile.texts.readingSound, slot);
    bus.ReadSequential(store.slotStart[s], store.Area(slot).first(n), [&](std::size_t i) { MoveBar(progress, i); });
    EndStage(progress);
    const auto bytes = store.Area(slot).first(n);
    store.held[s] = VoiceStore::HeldSlot{store.slotStart[s], {bytes.begin(), bytes.end()}};
}

std::optional<SlotMismatch> WriteSlot(TwoWireBus& bus, VoiceStore& store, int slot, Progress& progress,
                                      const MismatchHandler& onMismatch) {
    const Profile& profile = store.GetProfile();
    const auto s = static_cast<std::size_t>(slot);
    const std::uint16_t start = store.slotStart[s];
    const std::size_t room = start < kMemorySize ? kMemorySize - start : 0;
    const std::size_t n = std::min<std::size_t>({store.slotLength[s], profile.capacity, room});
    const auto data = std::span<const std::uint8_t>(store.Area(slot)).first(n);

    // From the first byte sent the module holds neither this slot's old
    // bytes nor any other slot's that lay where these go; a write cut off
    // half way must not leave them believed held.
    ForgetHeldUnder(store, start, n);
    BeginStage(progress, n, profile.texts.writingSound, slot);
    // A length or start off the page grid (only a directory this program did
    // not write has one) would wrap a whole-page write inside its page.
    if (profile.wholePageSlots && start % 64 == 0 && n % 64 == 0) WritePages(bus, start, data, progress);
    else WriteRuns(bus, start, data, progress);

    BeginStage(progress, n, profile.texts.checkingSound, slot);
    std::optional<SlotMismatch> mismatch;
    bus.BeginRead(start);
    for (std::size_t i = 0; i < n; ++i) {
        if (bus.ReadByteAck() != data[i]) {
            mismatch = SlotMismatch{slot, static_cast<std::uint32_t>(start + i)};
            if (onMismatch) onMismatch(*mismatch);
            break;
        }
        MoveBar(progress, i);
    }
    bus.ReadByteNack();
    bus.Stop();
    EndStage(progress);
    if (mismatch) store.held[s].reset();
    else store.held[s] = VoiceStore::HeldSlot{start, {data.begin(), data.end()}};
    return mismatch;
}

namespace {

// The module already holds this slot where the directory will say it is.
bool StillHeld(const VoiceStore& store, int slot) {
    const Profile& profile = store.GetProfile();
    const auto s = static_cast<std::size_t>(slot);
    const auto& held = store.held[s];
    if (!held || held->start != store.slotStart[s]) return false;
    const std::uint16_t start = store.slotStart[s];
    const std::size_t room = start < kMemorySize ? kMemorySize - start : 0;
    const std::size_t n = std::min<std::size_t>({store.slotLength[s], profile.capacity, room});
    const auto data = store.Area(slot).first(n);
    return std::equal(data.begin(), data.end(), held->bytes.begin(), held->bytes.end());
}

}  // namespace

void ReadDirectory(TwoWireBus& bus, VoiceStore& store) {
    const Profile& profile = store.GetProfile();
    std::vector<std::uint8_t> directory(DirectoryBytes(profile));
    bus.ReadSequential(profile.directoryAddress, directory);
    DecodeDirectory(directory, store);
}

LinkOutcome ReadAllSlots(TwoWireBus& bus, VoiceStore& store, WavBuffer& wav, Progress& progress) {
    const Profile& profile = store.GetProfile();
    const LinkOutcome check = CheckModule(bus, profile);
    if (!check.Ok()) return check;

    ReadDirectory(bus, store);
    for (int slot = 0; slot < store.SlotCount(); ++slot) ReadSlot(bus, store, slot, progress);

    store.currentSlot = 0;
    DecodeSlotToWav(store, wav);
    return check;
}

VoiceWriteOutcome WriteAllSlots(TwoWireBus& bus, VoiceStore& store, Progress& progress,
                                const MismatchHandler& onMismatch) {
    const Profile& profile = store.GetProfile();
    VoiceWriteOutcome outcome;
    outcome.used = store.Used();
    outcome.room = VoiceRoom(profile);
    // Laid out back to back, the slots would run past the end of the memory
    // and wrap onto the marker and the configuration at address 0.
    if (outcome.used > outcome.room) {
        outcome.overMemory = true;
        return outcome;
    }
    outcome.check = CheckModule(bus, profile);
    if (!outcome.check.Ok()) return outcome;

    LayOutSlots(store);
    const std::vector<std::uint8_t> directory = EncodeDirectory(store);
    bus.BeginWrite(profile.directoryAddress);
    for (std::uint8_t b : directory) bus.WriteByte(b);
    bus.Stop();
    bus.Wait();
    // A flipped directory byte would play a slot from the wrong place or at
    // the wrong rate, so the directory is checked like the slot data.
    std::vector<std::uint8_t> readBack(directory.size());
    bus.ReadSequential(profile.directoryAddress, readBack);
    for (std::size_t i = 0; i < directory.size(); ++i) {
        if (readBack[i] != directory[i]) {
            const SlotMismatch mismatch{SlotMismatch::kDirectorySlot,
                                        static_cast<std::uint32_t>(profile.directoryAddress + i)};
            if (onMismatch) onMismatch(mismatch);
            outcome.mismatches.push_back(mismatch);
            break;
        }
    }

    const int chosen = store.currentSlot;
    for (int slot = 0; slot < store.SlotCount(); ++slot) {
        if (bus.Timing() == BusTiming::Fast && StillHeld(store, slot)) continue;
        store.currentSlot = slot;
        if (auto mismatch = WriteSlot(bus, store, slot, progress, onMismatch)) outcome.mismatches.push_back(*mismatch);
    }
    store.currentSlot = chosen;
    return outcome;
}

}  // namespace korvex
