#include "model/gsm_alphabet.h"

#include <array>
#include <cstdio>

#include "model/cp1251.h"

namespace korvex {
namespace {

// The default table by code; the escape's place holds U+001B as a marker
// that GsmCodeOf and GsmDefaultCharacter both skip.
constexpr std::array<char32_t, 128> kDefault = {
    U'@', U'£', U'$', U'¥', U'è', U'é', U'ù', U'ì', U'ò', U'Ç', U'\n', U'Ø', U'ø', U'\r', U'Å', U'å',
    U'Δ', U'_', U'Φ', U'Γ', U'Λ', U'Ω', U'Π', U'Ψ', U'Σ', U'Θ', U'Ξ', U'\x1B', U'Æ', U'æ', U'ß', U'É',
    U' ', U'!', U'"', U'#', U'¤', U'%', U'&', U'\'', U'(', U')', U'*', U'+', U',', U'-', U'.', U'/',
    U'0', U'1', U'2', U'3', U'4', U'5', U'6', U'7', U'8', U'9', U':', U';', U'<', U'=', U'>', U'?',
    U'¡', U'A', U'B', U'C', U'D', U'E', U'F', U'G', U'H', U'I', U'J', U'K', U'L', U'M', U'N', U'O',
    U'P', U'Q', U'R', U'S', U'T', U'U', U'V', U'W', U'X', U'Y', U'Z', U'Ä', U'Ö', U'Ñ', U'Ü', U'§',
    U'¿', U'a', U'b', U'c', U'd', U'e', U'f', U'g', U'h', U'i', U'j', U'k', U'l', U'm', U'n', U'o',
    U'p', U'q', U'r', U's', U't', U'u', U'v', U'w', U'x', U'y', U'z', U'ä', U'ö', U'ñ', U'ü', U'à',
};

struct Extension {
    std::uint8_t code;
    char32_t character;
};
constexpr Extension kExtension[] = {
    {0x0A, U'\f'}, {0x14, U'^'}, {0x28, U'{'}, {0x29, U'}'}, {0x2F, U'\\'},
    {0x3C, U'['},  {0x3D, U'~'}, {0x3E, U']'}, {0x40, U'|'}, {0x65, U'€'},
};

// Codes of the ASCII characters by character, for the common case of a
// Latin text; 0xFF where the alphabet lacks one. Bit 7 marks the extension table.
constexpr std::uint8_t kNone = 0xFF;
constexpr std::uint8_t kExtensionBit = 0x80;
constexpr std::array<std::uint8_t, 128> kAsciiCodes = [] {
    std::array<std::uint8_t, 128> codes{};
    codes.fill(kNone);
    for (std::size_t code = 0; code < kDefault.size(); ++code) {
        if (kDefault[code] < codes.size() && code != kGsmEscape) codes[kDefault[code]] = static_cast<std::uint8_t>(code);
    }
    for (const Extension& e : kExtension) {
        if (e.character < codes.size()) codes[e.character] = static_cast<std::uint8_t>(e.code | kExtensionBit);
    }
    return codes;
}();

}  // namespace

std::optional<GsmCode> GsmCodeOf(char32_t character) {
    if (character < kAsciiCodes.size()) {
        const std::uint8_t code = kAsciiCodes[character];
        if (code == kNone) return std::nullopt;
        return GsmCode{static_cast<std::uint8_t>(code & 0x7F), (code & kExtensionBit) != 0};
    }
    for (std::size_t code = 0; code < kDefault.size(); ++code) {
        if (kDefault[code] == character) return GsmCode{static_cast<std::uint8_t>(code), false};
    }
    for (const Extension& e : kExtension) {
        if (e.character == character) return GsmCode{e.code, true};
    }
    return std::nullopt;
}

std::optional<char32_t> GsmDefaultCharacter(std::uint8_t code) {
    if (code >= kDefault.size() || code == kGsmEscape) return std::nullopt;
    return kDefault[code];
}

std::optional<char32_t> GsmExtensionCharacter(std::uint8_t code) {
    for (const Extension& e : kExtension) {
        if (e.code == code) return e.character;
    }
    return std::nullopt;
}

int GsmSeptetCount(std::u32string_view text) {
    int septets = 0;
    for (const char32_t c : text) {
        const std::optional<GsmCode> code = GsmCodeOf(c);
        septets += code ? code->Septets() : 1;
    }
    return septets;
}

int GsmSeptetCount(std::string_view cp1251) {
    std::u32string text;
    text.reserve(cp1251.size());
    for (const char c : cp1251) text += Cp1251ToUnicode(static_cast<std::uint8_t>(c));
    return GsmSeptetCount(text);
}

std::string GsmRefusal::Message() const {
    char buf[64];
    std::snprintf(buf, sizeof buf, "\" (U+%04X) is not in the GSM 7-bit alphabet", static_cast<unsigned>(character));
    return "the character \"" + EncodeUtf8(character) + buf;
}

std::optional<GsmRefusal> FindNonGsm(std::string_view cp1251) {
    for (std::size_t i = 0; i < cp1251.size(); ++i) {
        const char32_t c = Cp1251ToUnicode(static_cast<std::uint8_t>(cp1251[i]));
        if (!GsmCodeOf(c)) return GsmRefusal{c, i};
    }
    return std::nullopt;
}

}  // namespace korvex
