#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "link/profile.h"

namespace korvex {

// The PC's copy of the voice memory: one 32768-byte area per slot, slot k's
// encoded bytes from the start of area k, and the slot tables that the
// directory in the module describes.
class VoiceStore {
public:
    static constexpr std::size_t kAreaSize = 32768;
    static constexpr std::uint8_t kAreaFill = 85;

    explicit VoiceStore(const Profile& profile);

    const Profile& GetProfile() const { return *profile_; }
    int SlotCount() const { return profile_->slotCount; }

    std::span<std::uint8_t> Area(int slot);
    std::span<const std::uint8_t> Area(int slot) const;

    // Sum of all slot lengths, and of all but `slot`.
    std::uint32_t Used() const;
    std::uint32_t UsedByOthers(int slot) const;

    // The slot tables, one entry per slot.
    std::vector<std::uint16_t> slotLength;  // bytes
    std::vector<std::uint16_t> slotStart;   // module addresses
    std::vector<std::uint16_t> slotRate;    // Hz
    int currentSlot = 0;

    // The compact directory's fourth entry holds no slot; it is written back
    // as last read. Empty until a directory has been read.
    struct SpareEntry {
        std::uint16_t length = 0;
        std::uint16_t start = 0;
    };
    std::optional<SpareEntry> spareEntry;

    // What the module held of each slot at its last read or verify while
    // the port stayed open: where it started and its bytes. The fast timing
    // writes no slot whose place and bytes are still these.
    struct HeldSlot {
        std::uint16_t start = 0;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<std::optional<HeldSlot>> held;
    void ForgetHeld() { held.assign(static_cast<std::size_t>(SlotCount()), std::nullopt); }

private:
    const Profile* profile_;
    std::vector<std::uint8_t> areas_;
};

// One directory entry as the slot tables hold it.
struct DirectoryEntry {
    std::uint16_t length = 0;
    std::uint16_t start = 0;
    std::uint16_t rate = 0;
};

// The directory conversion rules: 15-bit lengths and starts, the high length
// byte stored plus one, the rate codes 1/2/3 (where the entry has a rate byte).
DirectoryEntry DecodeDirectoryEntry(std::span<const std::uint8_t> bytes, bool hasRateCode);
void EncodeDirectoryEntry(const DirectoryEntry& entry, bool hasRateCode, std::span<std::uint8_t> bytes);

// Directory bytes <-> slot tables. DecodeDirectory replaces lengths, starts
// and rates (and the spare entry); EncodeDirectory writes the entries and the
// filler that the directory write sends.
void DecodeDirectory(std::span<const std::uint8_t> directory, VoiceStore& store);
std::vector<std::uint8_t> EncodeDirectory(const VoiceStore& store);
std::size_t DirectoryBytes(const Profile& profile);  // entries only: 30 / 16

// Starts the slots back to back from the start of the voice data.
void LayOutSlots(VoiceStore& store);

// The memory indicator: bar range 0..capacity at `used` (held to the range),
// and the line of free kilobytes.
struct FreeMemory {
    std::uint32_t capacity = 0;
    std::uint32_t used = 0;     // as the tables say, may exceed the capacity
    std::uint32_t barPos = 0;
    std::uint32_t freeKb = 0;   // (capacity - used) / 1024, whole KiB; 0 when over
    std::string text;
};
FreeMemory ShowFreeMemory(const VoiceStore& store);

}  // namespace korvex
