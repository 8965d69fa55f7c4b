#pragma once
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "link/language.h"

namespace korvex {

// One event code and its texts (UTF-8; the CSV export turns them into 1251).
struct EventEntry {
    int code;
    std::string_view newText;      // restore flag 0
    std::string_view restoreText;  // restore flag 1; empty when newText serves both

    constexpr bool HasTwoTexts() const { return !restoreText.empty(); }
    constexpr std::string_view Text(bool restore) const { return restore && HasTwoTexts() ? restoreText : newText; }
};

// The fixed table of event texts, keyed by the Contact ID event code. The
// Russian table is the module's own; the English one holds the same codes,
// each with as many texts.
class EventCatalogue {
public:
    // Every entry, in code order.
    static std::span<const EventEntry> Entries(Language language);
    // nullptr for a code without an entry.
    static const EventEntry* Find(int code, Language language);
    // The text for a code and restore flag; nullopt for an unknown code.
    static std::optional<std::string_view> Text(int code, bool restore, Language language);
};

// The Event column's text: the catalogue text, prefixed by the code as
// "%03d" and one space when showCode is set. An unknown code gives the
// three digits alone, or the three digits and one space with showCode.
std::string DescribeEvent(int code, bool restore, bool showCode, Language language);

}  // namespace korvex
