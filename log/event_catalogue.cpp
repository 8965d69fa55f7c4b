#include "log/event_catalogue.h"

#include <algorithm>
#include <cstdio>

namespace korvex {

namespace {

constexpr EventEntry kEntries[] = {
#include "log/event_texts.inc"
};

constexpr bool InCodeOrder() {
    for (std::size_t i = 1; i < std::size(kEntries); ++i)
        if (kEntries[i - 1].code >= kEntries[i].code) return false;
    return true;
}
static_assert(InCodeOrder(), "lookup is a binary search");

}  // namespace

std::span<const EventEntry> EventCatalogue::Entries() { return kEntries; }

const EventEntry* EventCatalogue::Find(int code) {
    const auto it = std::lower_bound(std::begin(kEntries), std::end(kEntries), code,
                                     [](const EventEntry& e, int c) { return e.code < c; });
    return it != std::end(kEntries) && it->code == code ? &*it : nullptr;
}

std::optional<std::string_view> EventCatalogue::Text(int code, bool restore) {
    const EventEntry* entry = Find(code);
    if (!entry) return std::nullopt;
    return entry->Text(restore);
}

std::string DescribeEvent(int code, bool restore, bool showCode) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%03d", code);
    const auto text = EventCatalogue::Text(code, restore);
    if (!showCode) return text ? std::string(*text) : std::string(digits);
    std::string result = digits;
    result += ' ';
    if (text) result += *text;
    return result;
}

}  // namespace korvex
