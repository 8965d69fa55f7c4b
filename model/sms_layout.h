#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace korvex {

// The SMS language of a report action, in the order of the language list.
enum class SmsLanguage { English = 0, Translit = 1, Russian = 2 };
inline constexpr int kSmsLanguageCount = 3;

// Bits of `smsLayoutMask` the Communicator page edits; bits 3, 6 and 7 are
// not the page's and stay as found.
inline constexpr std::uint8_t kLayoutObjectName = 0x01;
inline constexpr std::uint8_t kLayoutObjectId = 0x02;
inline constexpr std::uint8_t kLayoutPartition = 0x04;
inline constexpr std::uint8_t kLayoutContents = 0x07;
inline constexpr std::uint8_t kLayoutLanguage = 0x30;

// Bits 4-5: 00 English, 11 transliterated Russian, 10 Russian; 01 counts as English.
SmsLanguage LanguageOf(std::uint8_t layoutMask);
// The mask with bits 4-5 rewritten for `language`, every other bit kept.
std::uint8_t WithLanguage(std::uint8_t layoutMask, SmsLanguage language);

// The one-line picture of the SMS a layout gives: the object name, the ID
// and partition placeholders as the layout asks, then the event (UTF-8).
std::string SmsPreview(std::uint8_t layoutMask, std::string_view objectName);

// A phone number as the phone lists show it: a leading "-" mark becomes a space.
std::string PhoneChoiceText(std::string_view phone);

}  // namespace korvex
