#include "widgets/translit.h"

#include <array>

#include "model/cp1251.h"

namespace korvex {
namespace {

// Latin of the capital letters А..Я (0xC0..0xDF); the small ones are the
// same in lower case.
constexpr std::array<const char*, 32> kLatin = {
    "A", "B", "V",  "G",  "D",  "E",   "ZH", "Z", "I", "J", "K",  "L",  "M",  "N",  "O",  "P",
    "R", "S", "T",  "U",  "F",  "KH",  "TS", "CH", "SH", "SCH", "'", "Y", "'", "E", "JU", "JA",
};

}  // namespace

QString TransliterateTyped(char32_t character, bool cyrillicAllowed) {
    const auto byte = UnicodeToCp1251(character);
    if (!byte) return {};
    const int code = *byte;
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
