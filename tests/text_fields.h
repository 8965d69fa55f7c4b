#pragma once
#include <span>
#include <string_view>
#include <type_traits>

namespace korvex::test {

// Every text of a table whose fields are all std::string_view (arrays of
// them included), in declaration order, so a test goes over each one without
// naming it: a field added to the table is checked without a new line here.
template <typename Table>
std::span<const std::string_view> TextFields(const Table& table) {
    static_assert(std::is_standard_layout_v<Table> && sizeof(Table) % sizeof(std::string_view) == 0,
                  "a table of texts only");
    return {reinterpret_cast<const std::string_view*>(&table), sizeof(Table) / sizeof(std::string_view)};
}

// Whether UTF-8 text holds a Cyrillic letter (U+0400..U+04FF): what an
// English text never has.
inline bool HasCyrillic(std::string_view text) {
    for (unsigned char c : text)
        if (c == 0xD0 || c == 0xD1 || c == 0xD2 || c == 0xD3) return true;
    return false;
}

}  // namespace korvex::test
