#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace korvex {

// The log ring: 112 slots of 8 bytes at memory address 1152, exactly the 14
// pages 18..31 of the memory.
inline constexpr std::uint16_t kLogAddress = 1152;
inline constexpr std::size_t kLogSlotSize = 8;
inline constexpr std::size_t kLogSlots = 112;
inline constexpr std::size_t kLogSize = kLogSlots * kLogSlotSize;  // 896
// Byte 0 of the slot the listing starts after (the character ']').
inline constexpr std::uint8_t kLogMarker = 0x5D;
// The highest code the three digit fields can hold: 7 x 100 + 15 x 10 + 15.
inline constexpr int kMaxEventCode = 865;

using LogBytes = std::array<std::uint8_t, kLogSize>;
using LogSlotBytes = std::array<std::uint8_t, kLogSlotSize>;

// One decoded slot. The fields are taken as stored: nothing is range-checked,
// so a day of 31 in month 0 or an hour of 31 is listed as it is.
struct LogRecord {
    int position = 0;           // 1, 2, ... in listing order
    int slot = 0;               // ring slot it came from, 0..111
    int month = 0;              // 0..15; 1 = January ... 12 = December
    int day = 0;                // 0..31
    int hour = 0;               // 0..31
    int minute = 0;             // 0..63, from the top bits of bytes 1 and 2
    std::uint16_t objectId = 0; // bytes 3 (high) and 4 (low)
    int eventCode = 0;          // 0..865; digit nibbles above 9 count as they are
    bool restore = false;       // the condition ends (Contact ID qualifier 3)
    int partition = 0;          // 0..15
    int zoneOrUser = 0;         // 0..255, 0 = none

    bool operator==(const LogRecord&) const = default;
};

// A slot holds a record exactly when the upper four bits of byte 0 are zero;
// erased slots (0xFF), the marker and anything else are skipped.
inline bool SlotHoldsRecord(std::span<const std::uint8_t, kLogSlotSize> slot) { return slot[0] < 16; }

// The fields of one slot; position and slot are left 0.
LogRecord DecodeLogRecord(std::span<const std::uint8_t, kLogSlotSize> slot);

// The listing of a raw ring: the slots after the first marker slot round to
// the one before it (from slot 0 when there is no marker), records only,
// numbered from 1. Pure: any 896 bytes will do.
std::vector<LogRecord> DecodeLog(std::span<const std::uint8_t, kLogSize> area);

// The 8 bytes that decode to `record` (position and slot are ignored). The
// event code is stored as plain decimal digits up to 799 and with the tens
// and units nibbles above 9 beyond that. Throws std::invalid_argument when a
// field does not fit its bits (month 0..15, day and hour 0..31, minute
// 0..63, code 0..865, partition 0..15, zone or user 0..255).
LogSlotBytes EncodeLogRecord(const LogRecord& record);

// An erased ring with a marker in slot 0 and the records in slots 1, 2, ...
// (at most 111; throws std::invalid_argument beyond that).
LogBytes BuildLogArea(std::span<const LogRecord> records);

}  // namespace korvex
