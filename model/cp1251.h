#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvex {

// The one converter between Unicode (UTF-8 at the edges) and code page 1251,
// the single-byte text of the configuration image. Every one of the 256
// bytes has a character (0x98, unassigned in the code page, is U+0098 as in
// the usual tables), so the byte-to-Unicode direction never fails. The other
// direction refuses a character without a code; nothing is ever replaced.

// Unicode of a code page 1251 byte.
char32_t Cp1251ToUnicode(std::uint8_t byte);
// Code page 1251 byte of a character, nothing when it has none.
std::optional<std::uint8_t> UnicodeToCp1251(char32_t character);

struct Cp1251Error {
    enum class Kind {
        NoCode,   // a valid character that code page 1251 cannot hold
        BadUtf8,  // the input is not well-formed UTF-8
    };
    Kind kind = Kind::NoCode;
    char32_t character = 0;    // NoCode: the refused character
    std::size_t position = 0;  // NoCode: its index in characters from 0; BadUtf8: byte offset
    // English wording, e.g. the character "ѣ" (U+0463) has no code in code page 1251.
    std::string Message() const;
};

struct [[nodiscard]] Cp1251Result {
    std::string bytes;                 // code page 1251 text; empty when refused
    std::optional<Cp1251Error> error;  // set when the text was refused
    bool Ok() const { return !error.has_value(); }
};

// UTF-8 to code page 1251. The whole text is refused at its first character
// without a code (or at malformed UTF-8).
Cp1251Result Utf8ToCp1251(std::string_view utf8);
// Code page 1251 to UTF-8; total.
std::string Cp1251ToUtf8(std::string_view cp1251);

// One character as UTF-8 (invalid code points become U+FFFD; used for messages).
std::string EncodeUtf8(char32_t character);

}  // namespace korvex
