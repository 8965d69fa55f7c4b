#pragma once
#include <optional>
#include <string_view>

namespace korvex {

// The language every text a program shows is chosen in. Apart from the
// module kind: either program serves its module in either language.
enum class Language { Russian, English };

// "ru" / "en": how the command line and the programs' settings name a language.
std::string_view LanguageCode(Language language);
// The language a code names ("ru", "en"); nullopt for any other text.
std::optional<Language> LanguageNamed(std::string_view code);

// The language a locale name speaks: Russian for "ru", "ru_RU.UTF-8",
// "Russian_Russia.1251"; English for any other language named. nullopt for
// a name that names no language ("", "C", "POSIX", "C.UTF-8"), where the
// program keeps its own language.
std::optional<Language> LanguageOfLocaleName(std::string_view name);

// The language of messages as POSIX picks their locale: the first of
// LC_ALL, LC_MESSAGES and LANG that is set and not empty decides.
std::optional<Language> LanguageOfLocale(std::string_view lcAll, std::string_view lcMessages, std::string_view lang);

}  // namespace korvex
