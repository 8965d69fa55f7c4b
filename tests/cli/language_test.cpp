// The tool speaks Russian or English whatever the module: --language, else the
// locale, else the module's program's own.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cli/cli_runner.h"
#include "cli/cli_texts.h"
#include "text_fields.h"

namespace korvex::test {
namespace {

struct LanguageCase {
    const char* name;
    std::vector<std::pair<std::string, std::string>> environment;
    std::vector<std::string> args;  // before the command
    bool russian;
    bool compactRussian;  // with no language named the compact module's program speaks English
};
void PrintTo(const LanguageCase& c, std::ostream* os) { *os << c.name; }

class CliLanguage : public CliTest, public ::testing::WithParamInterface<LanguageCase> {};

// A parse error, a module's outcome and an event text: each in the language chosen.
TEST_P(CliLanguage, EveryKindOfMessage) {
    const LanguageCase& c = GetParam();
    for (const auto& [name, value] : c.environment) SetEnvironment(name, value);
    auto with = [&](std::vector<std::string> command) {
        std::vector<std::string> args = c.args;
        args.insert(args.end(), command.begin(), command.end());
        return args;
    };
    const CliResult parse = Run(with({"show"}));
    EXPECT_EQ(parse.err, c.russian ? "Ошибка в командной строке: не указан обязательный аргумент IN\n"
                                   : "Command line error: a required argument is missing: IN\n");

    const CliResult noLog = Run(with({"--compact", "read-log", "--port", "demo"}));
    EXPECT_EQ(noLog.err,
              c.compactRussian ? "У компактного модуля нет журнала\n" : "The compact module has no event log\n");

    const CliResult log = Run(with({"read-log", "--port", "demo"}));
    ASSERT_EQ(log.status, 0) << log.err;
    const std::string header = log.out.substr(0, log.out.find('\n'));
    EXPECT_EQ(header, c.russian ? "№\tВремя\tДата\tID\tРаздел\tСобытие\tЗона/Пользователь"
                                : "No.\tTime\tDate\tID\tPartition\tEvent\tZone/User");
    EXPECT_EQ(HasCyrillic(log.out.substr(header.size())), c.russian) << log.out;
}

INSTANTIATE_TEST_SUITE_P(
    Cli, CliLanguage,
    ::testing::Values(
        LanguageCase{"NoLocale", {}, {}, true, false}, LanguageCase{"CLocale", {{"LANG", "C.UTF-8"}}, {}, true, false},
        LanguageCase{"EnglishLocale", {{"LANG", "en_US.UTF-8"}}, {}, false, false},
        LanguageCase{"RussianLocale", {{"LANG", "ru_RU.UTF-8"}}, {}, true, true},
        LanguageCase{"LcMessagesOverLang", {{"LANG", "ru_RU.UTF-8"}, {"LC_MESSAGES", "en_GB.UTF-8"}}, {}, false, false},
        LanguageCase{"LcAllOverAll", {{"LC_ALL", "ru_RU.UTF-8"}, {"LC_MESSAGES", "en_GB.UTF-8"}}, {}, true, true},
        LanguageCase{"OptionOverLocale", {{"LC_ALL", "ru_RU.UTF-8"}}, {"--language", "en"}, false, false},
        LanguageCase{"OptionWithEquals", {{"LANG", "en_US.UTF-8"}}, {"--language=ru"}, true, true}),
    [](const auto& info) { return std::string(info.param.name); });

// Without a locale or an option the compact module's program speaks English,
// and a Russian locale makes it Russian.
TEST_F(CliTest, CompactFollowsTheLocaleToo) {
    EXPECT_EQ(Run({"--compact", "show"}).err, "Command line error: a required argument is missing: IN\n");
    SetEnvironment("LANG", "ru_RU.UTF-8");
    EXPECT_EQ(Run({"--compact", "show"}).err, "Ошибка в командной строке: не указан обязательный аргумент IN\n");
}

// The English export keeps the Russian one's layout: the same first line, the
// same lines and cells, the numbers as they stand, only the words in English.
TEST_F(CliTest, EnglishCsvKeepsTheLayout) {
    ASSERT_EQ(Run({"--port", "demo", "read-log", "--csv", At("ru.csv")}).status, 0);
    ASSERT_EQ(Run({"--language", "en", "--port", "demo", "read-log", "--csv", At("en.csv")}).status, 0);
    auto lines = [](const std::string& text) {
        std::vector<std::vector<std::string>> cells;
        for (std::size_t at = 0; at < text.size();) {
            const std::size_t end = text.find("\r\n", at);
            EXPECT_NE(end, std::string::npos) << "a line without CR LF";
            if (end == std::string::npos) break;
            std::vector<std::string> line;
            for (std::size_t cell = at;;) {
                const std::size_t comma = text.find(',', cell);
                if (comma == std::string::npos || comma > end) {
                    line.push_back(text.substr(cell, end - cell));
                    break;
                }
                line.push_back(text.substr(cell, comma - cell));
                cell = comma + 1;
            }
            cells.push_back(line);
            at = end + 2;
        }
        return cells;
    };
    const auto russian = lines(ReadText(At("ru.csv")));
    const auto english = lines(ReadText(At("en.csv")));
    ASSERT_GT(russian.size(), 2u);
    ASSERT_EQ(english.size(), russian.size());
    EXPECT_EQ(english[0], (std::vector<std::string>{"   "}));
    for (std::size_t n = 1; n < russian.size(); ++n) {
        ASSERT_EQ(english[n].size(), russian[n].size()) << n;
        EXPECT_EQ(english[n][0], russian[n][0]);  // time
        EXPECT_EQ(english[n][2], russian[n][2]);  // ID
        EXPECT_EQ(english[n][3], russian[n][3]);  // partition
        EXPECT_NE(english[n][4], russian[n][4]);  // the event, in words
        // Code page 1251 as the Russian export: ASCII and its "№" (0xB9).
        for (const std::string& cell : english[n])
            EXPECT_TRUE(std::all_of(cell.begin(), cell.end(), [](unsigned char c) { return c < 0x80 || c == 0xB9; }))
                << cell;
    }
}

TEST_F(CliTest, ALanguageNotKnownIsRefused) {
    const CliResult r = Run({"--language", "de", "show", "x.rom"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.starts_with("Ошибка в командной строке: недопустимое значение для --language")) << r.err;
}

// Both tables complete: no text missing in either, none left in Russian in
// the English one, and the Russian one is no copy of it.
TEST(CliTexts, BothLanguagesComplete) {
    const auto russian = TextFields(cli::TextsFor(ProfileFor(ModuleKind::Full, Language::Russian)));
    const auto english = TextFields(cli::TextsFor(ProfileFor(ModuleKind::Full, Language::English)));
    ASSERT_EQ(russian.size(), english.size());
    std::size_t cyrillic = 0;
    for (std::size_t i = 0; i < russian.size(); ++i) {
        EXPECT_FALSE(russian[i].empty()) << i;
        EXPECT_FALSE(english[i].empty()) << i;
        EXPECT_FALSE(HasCyrillic(english[i])) << english[i];
        cyrillic += HasCyrillic(russian[i]);
    }
    EXPECT_GT(cyrillic, russian.size() * 3 / 4);
    for (ModuleKind kind : {ModuleKind::Full, ModuleKind::Compact}) {
        for (Language language : {Language::Russian, Language::English}) {
            const Profile& profile = ProfileFor(kind, language);
            EXPECT_EQ(&cli::TextsFor(profile), &cli::TextsFor(ProfileFor(ModuleKind::Full, language)));
            const std::string_view hint = cli::WriteMarkerHint(profile);
            EXPECT_EQ(HasCyrillic(hint), language == Language::Russian) << hint;
            EXPECT_EQ(hint.find("--compact") != std::string_view::npos, kind == ModuleKind::Compact) << hint;
        }
    }
}

}  // namespace
}  // namespace korvex::test
