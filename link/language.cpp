#include "link/language.h"

namespace korvex {

std::string_view LanguageCode(Language language) { return language == Language::Russian ? "ru" : "en"; }

std::optional<Language> LanguageNamed(std::string_view code) {
    if (code == "ru") return Language::Russian;
    if (code == "en") return Language::English;
    return std::nullopt;
}

std::optional<Language> LanguageOfLocaleName(std::string_view name) {
    // The language part ends at the territory, the code set or the modifier.
    const std::string_view part = name.substr(0, name.find_first_of("_.@"));
    if (part.empty() || part == "C" || part == "POSIX") return std::nullopt;
    if (part == "ru" || part == "Russian") return Language::Russian;
    return Language::English;
}

std::optional<Language> LanguageOfLocale(std::string_view lcAll, std::string_view lcMessages, std::string_view lang) {
    for (std::string_view name : {lcAll, lcMessages, lang})
        if (!name.empty()) return LanguageOfLocaleName(name);
    return std::nullopt;
}

}  // namespace korvex
