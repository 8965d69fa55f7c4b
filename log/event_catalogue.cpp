#include "log/event_catalogue.h"

#include <algorithm>
#include <cstdio>

namespace korvex {

namespace {

constexpr EventEntry kRussian[] = {
#include "log/event_texts.inc"
};

constexpr EventEntry kEnglish[] = {
#include "log/event_texts_en.inc"
};

template <std::size_t N>
constexpr bool InCodeOrder(const EventEntry (&entries)[N]) {
    for (std::size_t i = 1; i < N; ++i)
        if (entries[i - 1].code >= entries[i].code) return false;
    return true;
}
static_assert(InCodeOrder(kRussian) && InCodeOrder(kEnglish), "lookup is a binary search");

// A translation row for row: the same codes, each with as many texts.
constexpr bool RowForRow() {
    if (std::size(kRussian) != std::size(kEnglish)) return false;
    for (std::size_t i = 0; i < std::size(kRussian); ++i) {
        if (kRussian[i].code != kEnglish[i].code) return false;
        if (kRussian[i].HasTwoTexts() != kEnglish[i].HasTwoTexts() || kEnglish[i].newText.empty()) return false;
    }
    return true;
}
static_assert(RowForRow(), "every event has its English texts");

}  // namespace

std::span<const EventEntry> EventCatalogue::Entries(Language language) {
    if (language == Language::Russian) return kRussian;
    return kEnglish;
}

const EventEntry* EventCatalogue::Find(int code, Language language) {
    const std::span<const EventEntry> entries = Entries(language);
    const auto it =
        std::lower_bound(entries.begin(), entries.end(), code, [](const EventEntry& e, int c) { return e.code < c; });
    return it != entries.end() && it->code == code ? &*it : nullptr;
}

std::optional<std::string_view> EventCatalogue::Text(int code, bool restore, Language language) {
    const EventEntry* entry = Find(code, language);
    if (!entry) return std::nullopt;
    return entry->Text(restore);
}

std::string DescribeEvent(int code, bool restore, bool showCode, Language language) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%03d", code);
    const auto text = EventCatalogue::Text(code, restore, language);
    if (!showCode) return text ? std::string(*text) : std::string(digits);
    std::string result = digits;
    result += ' ';
    if (text) result += *text;
    return result;
}

}  // namespace korvex
