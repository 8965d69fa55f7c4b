#pragma once
#include <QString>

namespace korvex {

// What one typed character becomes in a TranslitEdit. SMS texts are stored
// in code page 1251, so the rules are those of its bytes:
//  - with Cyrillic allowed, the 64 letters А..я pass, Ё, ё and the rest of
//    0xA8..0xBF are refused, everything else of the code page passes;
//  - otherwise the letters become one to three Latin letters (Ё → JO,
//    Щ → SCH, Ъ and Ь → '), the rest of 0xA8..0xBF is refused and the
//    other characters pass.
// A character the code page cannot hold is refused in both modes: it could
// not be stored. An empty result means refused.
QString TransliterateTyped(char32_t character, bool cyrillicAllowed);

}  // namespace korvex
