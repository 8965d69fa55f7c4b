#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "model/config_settings.h"

// The small codecs between single image fields and ConfigSettings. They never
// fail: counts out of range are cut to what the field holds, and unset
// values get their "not set" byte. Packing writes only the bytes it names;
// the caller hands in a zero-filled field.
namespace korvex {

inline constexpr int kSmscMaxLengthByte = 12;  // type byte and 11 digit bytes
inline constexpr int kSmscMaxDigits = 22;      // what that length byte can carry
inline constexpr int kTextMaxData = 62;        // data bytes of a text record
inline constexpr int kLatinTextCapacity = 70;  // septets that 62 octets hold
inline constexpr int kCyrillicTextCapacity = 31;

// Phone record (16 bytes): digit count, type 0x91 ("+") or 0x81 ("-"), digits
// as swapped semi-octets with an F filler. A leading "+" or "-" is the mark;
// a number without one packs as "-". At most 20 digits are packed; each
// character packs as its code minus 0x30 in 4 bits, so ":" to ">" give the
// nibbles A to E that unpacking turns them back into.
void PackPhone(std::string_view phone, std::span<std::uint8_t, 16> record);
// Always returns a mark, then the digits until the nibble F (at most 20).
std::string UnpackPhone(std::span<const std::uint8_t, 16> record);

// SMS centre address (16 bytes at offset 112): length byte (type byte plus
// digit bytes), type byte, digits as for phones. The empty text packs as
// 01 81 F0, a bare mark as 01 81 or 01 91.
void PackSmsc(std::string_view number, std::span<std::uint8_t, 16> field);
// The length byte is cut to 12, so at most 22 digits come back.
std::string UnpackSmsc(std::span<const std::uint8_t, 16> field);

// SMS text record (64 bytes). 7-bit: each character as its septets in the
// GSM alphabet (model/gsm_alphabet.h), "?" for one the alphabet lacks; byte
// 0 counts data bytes, byte 1 septets (an extension character takes two);
// at most 70 septets fit. UCS-2: each code page 1251 character as its
// Unicode value, high byte first; at most 31 characters fit. Characters
// past the capacity are not packed (the count bytes say what is there). Bit
// 7 of byte 0 (the UCS-2 flag) is left to PackImage, which sets it last.
void PackText(std::string_view text, bool cyrillic, std::span<std::uint8_t, 64> record);
struct UnpackedText {
    std::string text;  // code page 1251
    bool cyrillic = false;
    bool operator==(const UnpackedText&) const = default;
};
// Characters without a code page 1251 byte become "?" (7-bit: such as "é"
// or "Δ"; UCS-2: any); U+0000 ends a UCS-2 text. A 7-bit escape before a
// code the extension table lacks is dropped, two escapes show a space.
UnpackedText UnpackText(std::span<const std::uint8_t, 64> record);

// PGM password (10 bytes): 7-bit characters, bit 7 marks the last one.
void PackPassword(std::string_view password, std::span<std::uint8_t, 10> field);
std::string UnpackPassword(std::span<const std::uint8_t, 10> field);

// Moves the set actions (non-zero) to the front in their order, zeros last.
void CompactActions(std::span<std::uint8_t, 4> actions);
// Zone action byte: image 0xFF <-> 0 (not set), otherwise the settings hold
// the image byte plus 0x11 (both nibbles counted from 1), in 8 bits.
std::uint8_t PackActionByte(std::uint8_t action);
std::uint8_t UnpackActionByte(std::uint8_t imageByte);

// Zone and partition name record (11 bytes): sound byte (7 and above read
// as 0), then the name zero-padded to 10 bytes.
void PackNameRecord(const NameRecord& record, std::span<std::uint8_t, 11> field);
NameRecord UnpackNameRecord(std::span<const std::uint8_t, 11> field);
// User name (10 bytes), zero-padded; unpacking stops at the first zero byte.
void PackUserName(std::string_view name, std::span<std::uint8_t, 10> field);
std::string UnpackUserName(std::span<const std::uint8_t, 10> field);

// Object name (24 bytes): copied as it stands, zero-padded; a 24-byte name
// has no terminator.
void PackObjectName(std::string_view name, std::span<std::uint8_t, 24> field);
std::string UnpackObjectName(std::span<const std::uint8_t, 24> field);

// Report actions (16 bytes at offset 48): SMS phones, autodial phones (0xFF =
// none, otherwise phone - 1; unpacked from the low 3 bits), then the two
// masks of each action unchanged.
void PackReportActions(const std::array<ReportAction, kReportActions>& actions, std::span<std::uint8_t, 16> field);
std::array<ReportAction, kReportActions> UnpackReportActions(std::span<const std::uint8_t, 16> field);

}  // namespace korvex
