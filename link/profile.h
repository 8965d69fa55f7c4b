#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "link/language.h"

namespace korvex {

enum class ModuleKind { Full, Compact };

// Texts the core hands to a Progress sink or names an outcome by, in the
// profile's language; shown as they stand.
struct LinkTexts {
    std::string_view readingConfig;
    std::string_view writingConfig;
    std::string_view checkingConfig;
    std::string_view readingSound;   // followed by the slot number and "..."
    std::string_view writingSound;
    std::string_view checkingSound;
    std::string_view notConnected;
    std::string_view unknownType;    // empty where the module has no type check
    std::string_view writeError;
    std::string_view portNotOpened;
    // The fast timing's findings; an address follows the last two.
    std::string_view byteRefused;
    std::string_view writeCycleTimeout;
    std::string_view cableCannotRead;  // the line probe's refusal of a port
    // What address 0 holds when it is not this program's marker.
    std::string_view otherProgram;   // the other program's marker: names it
    std::string_view damagedMarker;  // neither program's, and not blank
};

// Everything that differs between the full and the compact module, and the
// language the core's texts about it are in.
struct Profile {
    ModuleKind kind;
    std::string_view name;                 // "full" / "compact"

    // Configuration memory.
    std::size_t imageSize;                 // 1120 / 768
    std::span<const std::uint8_t> marker;  // 16 / 64 bytes at address 0
    bool checksType;                       // signature at 20..23 (full only)
    bool nackKeepsLastByte;                // compact reads keep the byte clocked with the nack
    std::size_t writeFrom;                 // first image byte a write sends: 24 / 0
    std::size_t verifyFrom;                // 24 / 0
    std::size_t verifyEnd;                 // one past the module program's check: 1120 / 766 (the rest is read apart)
    int readBarMax;                        // 1120 / 766
    int writeBarMax;                       // 1120 / 768
    int verifyBarMax;                      // 1120 / 766
    int readBarStep;                       // 10 / 1
    int writeBarStep;                      // 10 / 1
    int verifyBarStep;                     // 16 / 1
    bool wholePageConfigWrite;             // compact writes 12 whole pages

    // Voice memory.
    int slotCount;                         // 6 / 3
    std::uint16_t directoryAddress;        // 1120 / 768
    int directoryEntries;                  // 6 / 4 (the compact fourth is no slot)
    int directoryEntrySize;                // 5 / 4
    int directoryFiller;                   // 0 / 47 bytes of 85 after the entries
    std::uint16_t voiceStart;              // 2048 / 832
    std::uint32_t capacity;                // 30720 / 32000 (the figure the page shows)
    int codecStep;                         // 5 / 7
    std::size_t wavBufferSize;             // 262144 / 256100
    bool wholePageSlots;                   // compact slots are whole pages
    bool playWaitsForEnd;                  // compact Play returns when the sound has finished

    // Settings.
    int textCount;                         // 6 / 8
    bool hasLog;                           // full only

    Language language;
    LinkTexts texts;
};

inline constexpr std::uint32_t kMemorySize = 32768;
inline constexpr std::uint8_t kDeviceTypeSignature[4] = {0xE8, 0x95, 0x87, 0x36};

// The language each program speaks when the locale names none: Korvex
// Russian, Tamlo English.
Language DefaultLanguage(ModuleKind kind);

// The profiles in their program's own language.
const Profile& FullProfile();
const Profile& CompactProfile();
const Profile& ProfileFor(ModuleKind kind);
// The same module facts with the core's texts in `language`.
const Profile& ProfileFor(ModuleKind kind, Language language);

}  // namespace korvex
