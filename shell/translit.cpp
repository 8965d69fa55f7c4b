#include "shell/translit.h"

#include <array>

namespace korvex {
namespace {

// Unicode of the bytes 0x80..0xBF (0x98 is unassigned and stays so).
constexpr std::array<char16_t, 64> kUpperSymbols = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0000, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
};

// Latin of the capital letters А..Я (0xC0..0xDF); the small ones are the
// same in lower case.
constexpr std::array<const char*, 32> kLatin = {
    "A", "B", "V",  "G",  "D",  "E",   "ZH", "Z", "I", "J", "K",  "L",  "M",  "N",  "O",  "P",
    "R", "S", "T",  "U",  "F",  "KH",  "TS", "CH", "SH", "SCH", "'", "Y", "'", "E", "JU", "JA",
};

}  // namespace

int Cp1251Code(char32_t c) {
    if (c < 0x80) return static_cast<int>(c);
    if (c >= 0x0410 && c <= 0x044F) return static_cast<int>(c - 0x0410 + 0xC0);
    for (std::size_t i = 0; i < kUpperSymbols.size(); ++i) {
        if (kUpperSymbols[i] != 0 && kUpperSymbols[i] == c) return static_cast<int>(0x80 + i);
    }
    return -1;
}

QString TransliterateTyped(char32_t character, bool cyrillicAllowed) {
    const int code = Cp1251Code(character);
    if (code < 0) return {};
    const QString same = QString::fromUcs4(&character, 1);
    if (cyrillicAllowed) return code >= 0xA8 && code <= 0xBF ? QString() : same;
    if (code == 0xA8) return QStringLiteral("JO");
    if (code == 0xB8) return QStringLiteral("jo");
    if (code >= 0xA8 && code <= 0xBF) return {};
    if (code < 0xC0) return same;
    const QString latin = QString::fromLatin1(kLatin[(code - 0xC0) % 32]);
    return code < 0xE0 ? latin : latin.toLower();
}

}  // namespace korvex
