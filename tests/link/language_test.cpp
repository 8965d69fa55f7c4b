#include <gtest/gtest.h>

#include <optional>
#include <string_view>

#include "link/language.h"
#include "link/profile.h"
#include "text_fields.h"

namespace korvex {
namespace {

using test::HasCyrillic;
using test::TextFields;

constexpr Language kLanguages[] = {Language::Russian, Language::English};
constexpr ModuleKind kKinds[] = {ModuleKind::Full, ModuleKind::Compact};

TEST(Language, LocaleNames) {
    struct Case {
        std::string_view name;
        std::optional<Language> expected;
    };
    const Case cases[] = {
        {"ru_RU.UTF-8", Language::Russian},
        {"ru", Language::Russian},
        {"ru_UA@euro", Language::Russian},
        {"Russian_Russia.1251", Language::Russian},
        {"en_GB.UTF-8", Language::English},
        {"de_DE", Language::English},
        {"rue_UA", Language::English},  // Rusyn: another language, whose code only starts as Russian's
        {"C", std::nullopt},
        {"C.UTF-8", std::nullopt},
        {"POSIX", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(LanguageOfLocaleName(c.name), c.expected) << c.name;
}

TEST(Language, TheFirstLocaleVariableSetDecides) {
    struct Case {
        std::string_view lcAll, lcMessages, lang;
        std::optional<Language> expected;
    };
    const Case cases[] = {
        {"", "", "ru_RU.UTF-8", Language::Russian},
        {"", "en_US.UTF-8", "ru_RU.UTF-8", Language::English},
        {"ru_RU.UTF-8", "en_US.UTF-8", "en_US.UTF-8", Language::Russian},
        // A C locale set first keeps the program's own, whatever LANG says.
        {"C", "", "ru_RU.UTF-8", std::nullopt},
        {"", "", "", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LanguageOfLocale(c.lcAll, c.lcMessages, c.lang), c.expected)
            << c.lcAll << "|" << c.lcMessages << "|" << c.lang;
}

TEST(Language, CodesRoundTrip) {
    for (Language language : kLanguages) EXPECT_EQ(LanguageNamed(LanguageCode(language)), language);
    EXPECT_EQ(LanguageNamed("RU"), std::nullopt);
    EXPECT_EQ(LanguageNamed(""), std::nullopt);
}

TEST(Language, EachProgramKeepsItsOwnLanguageByDefault) {
    EXPECT_EQ(&ProfileFor(ModuleKind::Full, DefaultLanguage(ModuleKind::Full)), &FullProfile());
    EXPECT_EQ(&ProfileFor(ModuleKind::Compact, DefaultLanguage(ModuleKind::Compact)), &CompactProfile());
    EXPECT_EQ(FullProfile().language, Language::Russian);
    EXPECT_EQ(CompactProfile().language, Language::English);
}

// A language changes the words and nothing of the module.
TEST(Language, ProfileKeepsTheModuleFacts) {
    for (ModuleKind kind : kKinds) {
        const Profile& own = ProfileFor(kind);
        for (Language language : kLanguages) {
            const Profile& p = ProfileFor(kind, language);
            EXPECT_EQ(p.language, language);
            EXPECT_EQ(p.kind, kind);
            EXPECT_EQ(p.name, own.name);
            EXPECT_EQ(p.imageSize, own.imageSize);
            EXPECT_EQ(p.marker.data(), own.marker.data());
            EXPECT_EQ(p.checksType, own.checksType);
            EXPECT_EQ(p.verifyEnd, own.verifyEnd);
            EXPECT_EQ(p.slotCount, own.slotCount);
            EXPECT_EQ(p.voiceStart, own.voiceStart);
            EXPECT_EQ(p.textCount, own.textCount);
            EXPECT_EQ(p.hasLog, own.hasLog);
        }
    }
}

// Every text there in each language; the English ones with no Russian left
// in them; and a Russian table is not the English one copied.
TEST(Language, LinkTextsComplete) {
    for (ModuleKind kind : kKinds) {
        const auto russian = TextFields(ProfileFor(kind, Language::Russian).texts);
        const auto english = TextFields(ProfileFor(kind, Language::English).texts);
        ASSERT_EQ(russian.size(), english.size());
        for (std::size_t i = 0; i < russian.size(); ++i) {
            // The compact module has no type check, so no text for it in either.
            const bool none =
                kind == ModuleKind::Compact && &russian[i] == &ProfileFor(kind, Language::Russian).texts.unknownType;
            EXPECT_EQ(russian[i].empty(), none) << ProfileFor(kind).name << " field " << i;
            EXPECT_EQ(english[i].empty(), none) << ProfileFor(kind).name << " field " << i;
            EXPECT_FALSE(HasCyrillic(english[i])) << english[i];
            if (!none) {
                EXPECT_TRUE(HasCyrillic(russian[i])) << russian[i];
            }
        }
    }
}

}  // namespace
}  // namespace korvex
