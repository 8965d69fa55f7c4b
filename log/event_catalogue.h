#pragma once
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace korvex {

// One event code and its texts (UTF-8; the CSV export turns them into 1251).
struct EventEntry {
    int code;
    std::string_view newText;      // restore flag 0
    std::string_view restoreText;  // restore flag 1; empty when newText serves both

    bool HasTwoTexts() const { return !restoreText.empty(); }
    std::string_view Text(bool restore) const { return restore && HasTwoTexts() ? restoreText : newText; }
};

// The fixed table of event texts, keyed by the Contact ID event code.
class EventCatalogue {
public:
    // Every entry, in code order.
    static std::span<const EventEntry> Entries();
    // nullptr for a code without an entry.
    static const EventEntry* Find(int code);
    // The text for a code and restore flag; nullopt for an unknown code.
    static std::optional<std::string_view> Text(int code, bool restore);
};

// The Event column's text: the catalogue text, prefixed by the code as
// "%03d" and one space when showCode is set. An unknown code gives the
// three digits alone, or the three digits and one space with showCode.
std::string DescribeEvent(int code, bool restore, bool showCode);

}  // namespace korvex
