#include "model/cp1251.h"

#include <array>
#include <cstdio>

namespace korvex {
namespace {

// Upper half of the code page; the lower half is ASCII.
constexpr std::array<char16_t, 128> kUpper = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,  // C0
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,  // C8
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,  // D0
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,  // D8
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,  // E0
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,  // E8
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,  // F0
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,  // F8
};

// Decodes one UTF-8 sequence at text[pos]; nothing when malformed
// (overlong forms, surrogates and values above U+10FFFF included).
std::optional<char32_t> DecodeOne(std::string_view text, std::size_t& pos) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
    const std::uint8_t lead = byte(pos);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    int extra = 0;
    char32_t cp = 0;
    char32_t least = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1, cp = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, cp = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, cp = lead & 0x07, least = 0x10000;
    } else {
        return std::nullopt;
    }
    if (text.size() - pos <= static_cast<std::size_t>(extra)) return std::nullopt;  // cut short
    for (int i = 1; i <= extra; ++i) {
        const std::uint8_t next = byte(pos + i);
        if ((next & 0xC0) != 0x80) return std::nullopt;
        cp = (cp << 6) | (next & 0x3F);
    }
    if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
    pos += 1 + extra;
    return cp;
}

}  // namespace

char32_t Cp1251ToUnicode(std::uint8_t byte) {
    return byte < 0x80 ? char32_t{byte} : char32_t{kUpper[byte - 0x80]};
}

std::optional<std::uint8_t> UnicodeToCp1251(char32_t character) {
    if (character < 0x80) return static_cast<std::uint8_t>(character);
    if (character >= 0x0410 && character <= 0x044F) return static_cast<std::uint8_t>(character - 0x0410 + 0xC0);
    for (std::size_t i = 0; i < 0x40; ++i) {
        if (kUpper[i] == character) return static_cast<std::uint8_t>(0x80 + i);
    }
    return std::nullopt;
}

std::string EncodeUtf8(char32_t c) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

std::string Cp1251Error::Message() const {
    char buf[96];
    if (kind == Kind::BadUtf8) {
        std::snprintf(buf, sizeof buf, "the text is not valid UTF-8 (byte %zu)", position);
        return buf;
    }
    std::snprintf(buf, sizeof buf, "\" (U+%04X) has no code in code page 1251", static_cast<unsigned>(character));
    return "the character \"" + EncodeUtf8(character) + buf;
}

Cp1251Result Utf8ToCp1251(std::string_view utf8) {
    Cp1251Result result;
    result.bytes.reserve(utf8.size());
    std::size_t pos = 0;
    std::size_t index = 0;
    while (pos < utf8.size()) {
        const std::size_t start = pos;
        const auto cp = DecodeOne(utf8, pos);
        if (!cp) {
            result.bytes.clear();
            result.error = Cp1251Error{Cp1251Error::Kind::BadUtf8, 0, start};
            return result;
        }
        const auto byte = UnicodeToCp1251(*cp);
        if (!byte) {
            result.bytes.clear();
            result.error = Cp1251Error{Cp1251Error::Kind::NoCode, *cp, index};
            return result;
        }
        result.bytes += static_cast<char>(*byte);
        ++index;
    }
    return result;
}

std::string Cp1251ToUtf8(std::string_view cp1251) {
    std::string out;
    out.reserve(cp1251.size() * 2);
    for (const char ch : cp1251) out += EncodeUtf8(Cp1251ToUnicode(static_cast<std::uint8_t>(ch)));
    return out;
}

}  // namespace korvex
