#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "link/device_link.h"
#include "link/progress.h"
#include "link/two_wire_bus.h"

namespace korvex {

class VoiceStore;
struct WavBuffer;

// A slot whose read-back differed: the first differing module address.
// kDirectorySlot stands for the voice directory.
struct SlotMismatch {
    static constexpr int kDirectorySlot = -1;
    int slot = 0;
    std::uint32_t address = 0;
};

struct VoiceWriteOutcome {
    LinkOutcome check;          // NotConnected / UnknownType: nothing was written
    bool overMemory = false;    // refused before the bus was touched
    std::uint32_t used = 0;     // sum of the slot lengths
    std::uint32_t room = 0;     // what fits from the voice data start to the memory end
    std::vector<SlotMismatch> mismatches;  // at most one per slot, in slot order
    bool Ok() const { return check.Ok() && !overMemory && mismatches.empty(); }
};

// Told at a slot's first read-back difference, while that slot's check is
// still on the bar and before the next slot is written.
using MismatchHandler = std::function<void(const SlotMismatch&)>;

// The program's messages for a write, one per line to show, in order.
std::vector<std::string> VoiceWriteMessages(const Profile& profile, const VoiceWriteOutcome& outcome);

// Read sound: module checks, the directory, every slot; then slot 0 is
// current and decoded into `wav`. A length above the capacity is kept in the
// tables but only capacity bytes are read.
LinkOutcome ReadAllSlots(TwoWireBus& bus, VoiceStore& store, WavBuffer& wav, Progress& progress);

// Write sound: refuses lengths that would run past the end of the memory
// (or the capacity) before anything else, then the module checks, lays the
// slots out back to back, writes the directory and every slot, each with its
// read-back (a directory that does not read back is a mismatch of
// kDirectorySlot, told first). A mismatch does not stop the next slot. The current slot is
// left as the caller had it.
VoiceWriteOutcome WriteAllSlots(TwoWireBus& bus, VoiceStore& store, Progress& progress,
                                const MismatchHandler& onMismatch = {});

// The voice directory into the store's slot tables, no module checks.
void ReadDirectory(TwoWireBus& bus, VoiceStore& store);

// One slot's transfer at its slotStart, no module checks.
void ReadSlot(TwoWireBus& bus, VoiceStore& store, int slot, Progress& progress);
// Writes and reads back; bytes that would lie past the memory end are not sent.
std::optional<SlotMismatch> WriteSlot(TwoWireBus& bus, VoiceStore& store, int slot, Progress& progress,
                                      const MismatchHandler& onMismatch = {});

}  // namespace korvex
