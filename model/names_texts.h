#pragma once

namespace korvex {

// Words of the Names page (UTF-8; the full module only).
struct NamesTexts {
    const char* zoneHeader;       // over the zone names
    const char* partitionHeader;  // over the partition names
    const char* userHeader;       // over the user names
    const char* numberHeader;     // over the row numbers
    const char* soundHeader;      // over the voice message column
    const char* soundItem;        // followed by 1..6: "Wav 1".."Wav 6"
};

inline constexpr NamesTexts kNamesTexts{
    .zoneHeader = "Назв. Зоны",
    .partitionHeader = "Назв. Раздела",
    .userHeader = "Пользователь",
    .numberHeader = "№",
    .soundHeader = "Звук",
    .soundItem = "Wav ",
};

}  // namespace korvex
