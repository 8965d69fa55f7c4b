#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace korvex {

// UTF-8 text to code page 1251 bytes for the CSV export. nullopt when the text
// is not valid UTF-8 or holds a character 1251 has no code for: the export
// refuses rather than write a different character.
std::optional<std::string> CsvTextToCp1251(std::string_view utf8);

}  // namespace korvex
