#pragma once
#include <cstdint>
#include <span>
#include <string_view>

#include "link/profile.h"

namespace korvex {

// What the voice side of the two modules does differently beyond `Profile`:
// the WAV rules and the programs' own texts for voice outcomes.
struct VoiceRules {
    std::span<const std::uint16_t> acceptedRates;  // checked at WAV offset 24, in this order
    std::uint16_t defaultRate;   // slotRate at creation: 0 (nothing loaded) / 22050 (no rate stored)
    bool hasRateCode;            // directory entries carry a rate byte (offset 4)
    // Most bytes all slot lengths together may hold after a WAV load. The full
    // module keeps its old rule (2048 + lengths < 32768); the compact one stops
    // at the memory end (832 + lengths <= 32768), below its 32000 capacity.
    std::uint32_t intakeLimit;
    // A refused WAV: the full program shows the current slot again, the
    // compact one empties the buffer.
    bool refusalDecodesSlot;

    // Message texts, shown as they stand.
    std::string_view tooLarge;
    std::string_view unknownFormat;
    std::string_view badRate;
    std::string_view badBits;
    std::string_view badChannels;
    std::string_view cannotOpen;         // followed by the file and the system's reason
    std::string_view cannotRead;
    std::string_view shorterThanHeader;
    std::string_view overMemory;         // followed by the figures
    std::string_view overMemoryBytes;    // "used / room" joiner words
    std::string_view overMemoryRoom;
    // Free-memory line: before + kilobytes + after.
    std::string_view freeBefore;
    std::string_view freeAfter;
};

const VoiceRules& VoiceRulesFor(const Profile& profile);

// The number of bytes one voice slot may hold in the module: what lies
// between the start of the voice data and the end of the memory, and never
// more than the capacity.
std::uint32_t VoiceRoom(const Profile& profile);

}  // namespace korvex
