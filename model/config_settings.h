#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace korvex {

inline constexpr int kPhoneCount = 8;
inline constexpr int kTextSlots = 8;         // the compact image holds 8, the full one 6
inline constexpr int kZoneGroups = 4;        // zones 1 to 3 and the test SMS
inline constexpr int kActionsPerGroup = 8;   // SMS actions 1..4, autodial actions 1..4
inline constexpr int kReportActions = 4;
inline constexpr int kZoneNames = 28;
inline constexpr int kPartitionNames = 8;
inline constexpr int kUserNames = 8;

// What each field holds at most; the pages and the command line refuse more.
inline constexpr int kPhoneMaxDigits = 20;   // phone numbers
inline constexpr int kObjectNameMax = 24;
inline constexpr int kPasswordMax = 10;
inline constexpr int kNameMax = 10;          // zone, partition and user names
inline constexpr int kNameSoundMax = 6;      // "Wav 1".."Wav 6"
inline constexpr int kPgmSecondsMax = 99;

// Test SMS schedule codes: 0..24 daily at that hour, these every n hours,
// kTestSmsNone no test SMS.
inline constexpr std::uint8_t kTestSmsLastHour = 24;
inline constexpr std::uint8_t kTestSmsNone = 25;
inline constexpr std::uint8_t kTestSmsPeriods[] = {0x81, 0x82, 0x83, 0x84, 0x86, 0x88, 0x8C};

// What the Messages page lets into a text slot: septets of a GSM 7-bit text
// (an extension character such as "[" or "€" takes two), characters of a
// UCS-2 one.
inline constexpr int kLatinTextLimit = 68;     // GSM 7-bit
inline constexpr int kCyrillicTextLimit = 31;  // UCS-2
constexpr int TextLimit(bool cyrillic) { return cyrillic ? kCyrillicTextLimit : kLatinTextLimit; }

// A zone or partition name (full module only).
struct NameRecord {
    std::string name;        // up to 10 code page 1251 bytes
    std::uint8_t sound = 0;  // 0 = none, 1..6 = voice message "Wav 1".."Wav 6"
    bool operator==(const NameRecord&) const = default;
};

// One report action of the Communicator page (full module only).
struct ReportAction {
    std::uint8_t smsPhone = 0;        // 0 = none, 1..8 = phone #1..#8
    std::uint8_t autodialPhone = 0;   // as smsPhone
    std::uint8_t reportTypeMask = 0;  // bit 0 alarms .. bit 6 bypasses
    std::uint8_t smsLayoutMask = 0;   // bits 0..2 contents, bits 4..5 language
    bool operator==(const ReportAction&) const = default;
};

// The decoded configuration the pages edit. UnpackImage and PackImage
// (model/image_codec.h) are the only ways between it and an image. Texts are
// code page 1251 bytes, exactly as the image holds them; conversion to and
// from Unicode happens at the edges through model/cp1251.h.
struct ConfigSettings {
    // "+" (international) or "-" followed by up to 20 digits; empty = no number.
    std::array<std::string, kPhoneCount> phones;
    // SMS texts #1..#8 (the full module uses 6), up to 80 characters.
    std::array<std::string, kTextSlots> texts;
    // Per slot: true = UCS-2 (the receiving phone shows Cyrillic), false = GSM 7-bit.
    std::array<bool, kTextSlots> cyrillic{};
    // Per slot: characters the Messages page lets in, TextLimit(cyrillic) as
    // set by the last UnpackImage; the page updates it when a box is clicked.
    std::array<int, kTextSlots> textLimit{};
    std::string pgmPassword;   // up to 10 characters of 7 bits
    std::string objectName;    // full only: up to 24 bytes, no zero byte
    std::string smscNumber;    // mark and digits as phones; empty = not set
    std::uint8_t testSmsCode = 0;     // 0..24 daily at that hour, 0x81.. every n hours, 25 none
    std::uint8_t pgmSeconds = 0;      // 0 = trigger mode
    std::uint8_t autodialCycles = 3;  // 3..9
    bool voiceAfterPickup = false;
    std::uint8_t comSpeed = 1;        // full only, 1..5; not in the image
    std::array<bool, kZoneGroups> zoneType{};  // true = alarm on break, false = on short
    // Zone action table, both nibbles counted from 1, 0 = not set.
    // SMS action: low nibble phone 1..8, high nibble text 1..8.
    // Autodial action: low nibble phone 1..8, high nibble sound 1..3 (bits 4 and 5).
    std::array<std::array<std::uint8_t, kActionsPerGroup>, kZoneGroups> zoneActions{};
    std::array<ReportAction, kReportActions> reportActions{};
    std::array<NameRecord, kZoneNames> zoneNames{};
    std::array<NameRecord, kPartitionNames> partitionNames{};
    std::array<std::string, kUserNames> userNames{};

    ConfigSettings() {
        phones.fill("-");
        textLimit.fill(kLatinTextLimit);
    }

    // The start state: every phone number is the mark "-" with no digits,
    // every other text empty, every flag clear, every number and action 0,
    // text limits 68, except autodialCycles 3 (the fewest the module knows,
    // also what the Properties page shows) and comSpeed 1 (its first choice).
    void Clear() { *this = ConfigSettings(); }

    bool operator==(const ConfigSettings&) const = default;
};

}  // namespace korvex
