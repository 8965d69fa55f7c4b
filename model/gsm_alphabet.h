#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvex {

// The GSM 7-bit default alphabet and its extension table (3GPP TS 23.038),
// the one table between characters and septets: the SMS text packer and
// unpacker, the Messages page and the command line all use it. A phone
// shows a septet as this table says, whatever its ASCII look-alike is:
// "_" is 0x11, "§" is 0x5F, and "^ { } \ [ ~ ] | €" are two septets each,
// the escape 0x1B and their code in the extension table.

inline constexpr std::uint8_t kGsmEscape = 0x1B;

struct GsmCode {
    std::uint8_t code = 0;   // 0..127
    bool extension = false;  // sent as kGsmEscape, code
    int Septets() const { return extension ? 2 : 1; }
    bool operator==(const GsmCode&) const = default;
};

// Where the alphabet holds a character; nothing when it holds it in
// neither table (the escape U+001B itself included).
std::optional<GsmCode> GsmCodeOf(char32_t character);
// The character of a default-table code; nothing for the escape and for
// codes above 127.
std::optional<char32_t> GsmDefaultCharacter(std::uint8_t code);
// The character of an extension-table code; nothing where the table is empty.
std::optional<char32_t> GsmExtensionCharacter(std::uint8_t code);

// Septets a text takes: an extension character counts two, any other one
// (characters the alphabet lacks included: they are refused before they are
// stored) counts one. For the Messages page's limit and counter.
int GsmSeptetCount(std::u32string_view text);
// The same for a code page 1251 text, as the settings hold it.
int GsmSeptetCount(std::string_view cp1251);

// A character of a code page 1251 text that the alphabet lacks.
struct GsmRefusal {
    char32_t character = 0;    // the refused character
    std::size_t position = 0;  // its index in the text from 0
    // English wording: the character "`" (U+0060) is not in the GSM 7-bit alphabet.
    std::string Message() const;
};
// The first character of a code page 1251 text that the alphabet lacks.
std::optional<GsmRefusal> FindNonGsm(std::string_view cp1251);

}  // namespace korvex
