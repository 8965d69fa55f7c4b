#pragma once
#include <cstddef>

// Byte offsets of the configuration image. Offsets 64..767 are shared by the
// full (1120-byte) and the compact (768-byte) image; the rest exists in the
// full image only. Numbers are big-endian.
namespace korvex::layout {

inline constexpr std::size_t kFullImageSize = 1120;
inline constexpr std::size_t kCompactImageSize = 768;
inline constexpr std::size_t kMaxImageSize = kFullImageSize;

// Full image only.
inline constexpr std::size_t kVersion = 16;          // 4 bytes, copied from the read image
inline constexpr std::size_t kVersionSize = 4;
inline constexpr std::size_t kTypeSignature = 20;    // 4 bytes, copied from the read image
inline constexpr std::size_t kObjectName = 24;       // 24 bytes, zero-padded
inline constexpr std::size_t kObjectNameSize = 24;
inline constexpr std::size_t kReports = 48;          // 16 bytes: SMS phones, autodial phones, masks
inline constexpr std::size_t kReportsSize = 16;
inline constexpr std::size_t kReportSmsPhone = 0;    // within kReports, one byte per action
inline constexpr std::size_t kReportAutodialPhone = 4;
inline constexpr std::size_t kReportMasks = 8;       // two bytes per action
inline constexpr std::size_t kZoneNames = 640;       // 28 records
inline constexpr std::size_t kPartitionNames = 948;  // 8 records
inline constexpr std::size_t kNameRecordSize = 11;   // sound byte and 10 name bytes
inline constexpr std::size_t kUserNames = 1036;      // 8 records
inline constexpr std::size_t kUserNameSize = 10;
inline constexpr std::size_t kDate = 1116;           // year high, year low, month, day

// Both images.
inline constexpr std::size_t kZoneActions = 64;      // 4 groups of 8 bytes
inline constexpr std::size_t kTestSmsAutodial = 92;  // 4 bytes always written as 0xFF
inline constexpr std::size_t kPassword = 96;         // 10 bytes
inline constexpr std::size_t kPasswordSize = 10;
inline constexpr std::size_t kZoneTypes = 108;       // bit 0 voice timing, bits 4..7 zone types
inline constexpr std::size_t kAutodialCycles = 109;  // cycles - 3
inline constexpr std::size_t kPgmSeconds = 110;
inline constexpr std::size_t kTestSms = 111;
inline constexpr std::size_t kSmsc = 112;            // 16 bytes
inline constexpr std::size_t kSmscSize = 16;
inline constexpr std::size_t kPhones = 128;          // 8 records
inline constexpr std::size_t kPhoneRecordSize = 16;
inline constexpr std::size_t kTexts = 256;           // 6 (full) or 8 (compact) records
inline constexpr std::size_t kTextRecordSize = 64;

inline constexpr std::size_t PhoneOffset(int index) { return kPhones + kPhoneRecordSize * index; }
inline constexpr std::size_t TextOffset(int index) { return kTexts + kTextRecordSize * index; }

}  // namespace korvex::layout
