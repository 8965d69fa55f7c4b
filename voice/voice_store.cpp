#include "voice/voice_store.h"

#include <algorithm>
#include <numeric>

#include "voice/voice_rules.h"

namespace korvex {

VoiceStore::VoiceStore(const Profile& profile)
    : slotLength(profile.slotCount, 0),
      slotStart(profile.slotCount, 0),
      slotRate(profile.slotCount, VoiceRulesFor(profile).defaultRate),
      held(static_cast<std::size_t>(profile.slotCount)),
      profile_(&profile),
      areas_(static_cast<std::size_t>(profile.slotCount) * kAreaSize, kAreaFill) {}

std::span<std::uint8_t> VoiceStore::Area(int slot) {
    return std::span(areas_).subspan(static_cast<std::size_t>(slot) * kAreaSize, kAreaSize);
}

std::span<const std::uint8_t> VoiceStore::Area(int slot) const {
    return std::span(areas_).subspan(static_cast<std::size_t>(slot) * kAreaSize, kAreaSize);
}

std::uint32_t VoiceStore::Used() const {
    return std::accumulate(slotLength.begin(), slotLength.end(), std::uint32_t{0});
}

std::uint32_t VoiceStore::UsedByOthers(int slot) const {
    return Used() - slotLength[static_cast<std::size_t>(slot)];
}

namespace {

std::uint16_t RateFromCode(std::uint8_t code) {
    switch (code) {
        case 2: return 16000;
        case 3: return 11025;
        default: return 22050;
    }
}

std::uint8_t CodeFromRate(std::uint16_t rate) {
    switch (rate) {
        case 11025: return 3;
        case 16000: return 2;
        default: return 1;
    }
}

}  // namespace

DirectoryEntry DecodeDirectoryEntry(std::span<const std::uint8_t> bytes, bool hasRateCode) {
    const unsigned lengthHigh = bytes[1] == 0 ? 0u : bytes[1] - 1u;
    DirectoryEntry entry;
    entry.length = static_cast<std::uint16_t>((lengthHigh * 256 + bytes[0]) & 0x7FFF);
    entry.start = static_cast<std::uint16_t>((bytes[3] * 256u + bytes[2]) & 0x7FFF);
    entry.rate = RateFromCode(hasRateCode ? bytes[4] : 0);
    return entry;
}

void EncodeDirectoryEntry(const DirectoryEntry& entry, bool hasRateCode, std::span<std::uint8_t> bytes) {
    bytes[0] = static_cast<std::uint8_t>(entry.length & 0xFF);
    bytes[1] = static_cast<std::uint8_t>((entry.length >> 8) + 1);
    bytes[2] = static_cast<std::uint8_t>(entry.start & 0xFF);
    bytes[3] = static_cast<std::uint8_t>(entry.start >> 8);
    if (hasRateCode) bytes[4] = CodeFromRate(entry.rate);
}

std::size_t DirectoryBytes(const Profile& profile) {
    return static_cast<std::size_t>(profile.directoryEntries * profile.directoryEntrySize);
}

void DecodeDirectory(std::span<const std::uint8_t> directory, VoiceStore& store) {
    const Profile& profile = store.GetProfile();
    const bool rateCode = VoiceRulesFor(profile).hasRateCode;
    const auto size = static_cast<std::size_t>(profile.directoryEntrySize);
    for (int k = 0; k < profile.directoryEntries; ++k) {
        const DirectoryEntry e = DecodeDirectoryEntry(directory.subspan(k * size, size), rateCode);
        if (k < profile.slotCount) {
            const auto s = static_cast<std::size_t>(k);
            store.slotLength[s] = e.length;
            store.slotStart[s] = e.start;
            store.slotRate[s] = e.rate;
        } else {
            store.spareEntry = VoiceStore::SpareEntry{e.length, e.start};
        }
    }
}

std::vector<std::uint8_t> EncodeDirectory(const VoiceStore& store) {
    const Profile& profile = store.GetProfile();
    const bool rateCode = VoiceRulesFor(profile).hasRateCode;
    const auto size = static_cast<std::size_t>(profile.directoryEntrySize);
    std::vector<std::uint8_t> bytes(DirectoryBytes(profile) + static_cast<std::size_t>(profile.directoryFiller),
                                    VoiceStore::kAreaFill);
    // An entry past the slots that nothing has been read into reads back as an
    // empty slot where the next one would start.
    const auto runningEnd = static_cast<std::uint16_t>(profile.voiceStart + store.Used());
    for (int k = 0; k < profile.directoryEntries; ++k) {
        DirectoryEntry e;
        if (k < profile.slotCount) {
            const auto s = static_cast<std::size_t>(k);
            e = {store.slotLength[s], store.slotStart[s], store.slotRate[s]};
        } else if (store.spareEntry) {
            e = {store.spareEntry->length, store.spareEntry->start, 0};
        } else {
            e = {0, runningEnd, 0};
        }
        EncodeDirectoryEntry(e, rateCode, std::span(bytes).subspan(k * size, size));
    }
    return bytes;
}

void LayOutSlots(VoiceStore& store) {
    std::uint16_t start = store.GetProfile().voiceStart;
    for (std::size_t s = 0; s < store.slotStart.size(); ++s) {
        store.slotStart[s] = start;
        start = static_cast<std::uint16_t>(start + store.slotLength[s]);
    }
}

FreeMemory ShowFreeMemory(const VoiceStore& store) {
    const Profile& profile = store.GetProfile();
    const VoiceRules& rules = VoiceRulesFor(profile);
    FreeMemory m;
    m.capacity = profile.capacity;
    m.used = store.Used();
    m.barPos = std::min(m.used, m.capacity);
    m.freeKb = (m.capacity - m.barPos) / 1024;
    m.text = std::string(rules.freeBefore) + std::to_string(m.freeKb) + std::string(rules.freeAfter);
    return m;
}

}  // namespace korvex
