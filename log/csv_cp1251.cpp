#include "log/csv_cp1251.h"

#include <cstdint>

namespace korvex {

namespace {

// Code points of 0x80..0xBF; 0 marks the one unassigned byte (0x98).
// 0xC0..0xFF are U+0410..U+044F in order.
constexpr char32_t kUpper[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0000, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

std::optional<char> ToByte(char32_t cp) {
    if (cp < 0x80) return static_cast<char>(cp);
    if (cp >= 0x0410 && cp <= 0x044F) return static_cast<char>(0xC0 + (cp - 0x0410));
    for (int i = 0; i < 64; ++i)
        if (kUpper[i] != 0 && kUpper[i] == cp) return static_cast<char>(0x80 + i);
    return std::nullopt;
}

// Next code point of s at i, advancing i; nullopt on malformed input.
std::optional<char32_t> NextCodePoint(std::string_view s, std::size_t& i) {
    const auto lead = static_cast<std::uint8_t>(s[i++]);
    if (lead < 0x80) return lead;
    int extra;
    char32_t cp;
    if ((lead & 0xE0) == 0xC0) { extra = 1; cp = lead & 0x1F; }
    else if ((lead & 0xF0) == 0xE0) { extra = 2; cp = lead & 0x0F; }
    else if ((lead & 0xF8) == 0xF0) { extra = 3; cp = lead & 0x07; }
    else return std::nullopt;
    for (int k = 0; k < extra; ++k) {
        if (i >= s.size()) return std::nullopt;
        const auto b = static_cast<std::uint8_t>(s[i++]);
        if ((b & 0xC0) != 0x80) return std::nullopt;
        cp = cp << 6 | (b & 0x3F);
    }
    // Overlong forms and surrogates are not text.
    static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
    return cp;
}

}  // namespace

std::optional<std::string> CsvTextToCp1251(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto cp = NextCodePoint(utf8, i);
        if (!cp) return std::nullopt;
        const auto byte = ToByte(*cp);
        if (!byte) return std::nullopt;
        out += *byte;
    }
    return out;
}

}  // namespace korvex
