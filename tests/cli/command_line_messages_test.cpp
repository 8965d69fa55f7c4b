// What the parser refuses is told in the program's language like every other
// message: Russian for the full module, English with --compact.
#include <gtest/gtest.h>

#include <regex>

#include "cli/cli_runner.h"

namespace korvex::test {
namespace {

struct MessageCase {
    const char* name;
    std::vector<std::string> args;
    std::string message;  // the whole of stderr, without its newline
};
void PrintTo(const MessageCase& c, std::ostream* os) { *os << c.name; }

class CommandLineMessages : public CliTest, public ::testing::WithParamInterface<MessageCase> {};

TEST_P(CommandLineMessages, TellTheFindingInTheProgramsLanguage) {
    const MessageCase& c = GetParam();
    const CliResult r = Run(c.args);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, c.message + "\n");
    EXPECT_EQ(r.out, "");
    // Nothing of the parser's own English: once the words of the command line
    // are taken out, a Russian message has no Latin word left.
    if (!c.message.starts_with("Ошибка")) return;
    std::string rest = c.message;
    std::vector<std::string> given;
    for (const std::string& arg : c.args) {
        // "--option=value" is told as the option and its value.
        const std::size_t equals = arg.find('=');
        given.push_back(equals == std::string::npos ? arg : arg.substr(equals + 1));
        given.push_back(arg.substr(0, equals));
    }
    for (const std::string& arg : given) {
        for (std::size_t at; !arg.empty() && (at = rest.find(arg)) != std::string::npos;) rest.erase(at, arg.size());
    }
    for (const char* word : {"-o", "IN", "cp1251", "utf-8", "plain", "trellis", "bash", "zsh"}) {
        for (std::size_t at; (at = rest.find(word)) != std::string::npos;) rest.erase(at, std::string(word).size());
    }
    EXPECT_FALSE(std::regex_search(rest, std::regex("[A-Za-z]{2,}"))) << rest;
}

INSTANTIATE_TEST_SUITE_P(
    Cli, CommandLineMessages,
    ::testing::Values(
        MessageCase{"MissingOption", {"read-config"}, "Ошибка в командной строке: не указан обязательный аргумент -o"},
        MessageCase{"MissingArgument", {"show"}, "Ошибка в командной строке: не указан обязательный аргумент IN"},
        MessageCase{"MissingOptionCompact",
                    {"--compact", "build", "x.json"},
                    "Command line error: a required argument is missing: -o"},
        MessageCase{"NoValue", {"read-config", "-o"}, "Ошибка в командной строке: не хватает значения для -o"},
        MessageCase{"HalfAPair",
                    {"--compact", "write-sound", "--slot", "1"},
                    "Command line error: a value is missing for --slot"},
        MessageCase{"GlobalOptionWithoutValue",
                    {"identify", "--bus"},
                    "Ошибка в командной строке: не хватает значения для --bus"},
        // Leftovers in the order given, a second command included.
        MessageCase{"OneExtra",
                    {"probe", "identify"},
                    "Ошибка в командной строке: лишние аргументы или неизвестные параметры: identify"},
        MessageCase{"UnknownOptionAndItsValue",
                    {"--speed", "9600", "identify"},
                    "Ошибка в командной строке: лишние аргументы или неизвестные параметры: --speed 9600"},
        MessageCase{"ExtrasCompact",
                    {"--compact", "show", "a.rom", "b.rom", "c.rom"},
                    "Command line error: unexpected arguments or unknown options: b.rom c.rom"},
        MessageCase{"NotANumber",
                    {"write-sound", "--slot", "x", "a.wav"},
                    "Ошибка в командной строке: недопустимое значение для --slot: x a.wav"},
        MessageCase{"OutOfRange",
                    {"--compact", "write-sound", "--slot", "1", "a.wav", "--rate", "70000"},
                    "Command line error: a bad value for --rate: 70000"},
        MessageCase{"FlagWithAValue",
                    {"identify", "--write-marker=maybe"},
                    "Ошибка в командной строке: недопустимое значение для --write-marker: maybe"},
        MessageCase{"NotInTheList",
                    {"write-sound", "--slot", "1", "a.wav", "--encoder", "best"},
                    "Ошибка в командной строке: недопустимое значение для --encoder: best (допустимы: plain, trellis)"},
        MessageCase{"NotInTheListCompact",
                    {"--compact", "decode-log", "r.bin", "--encoding", "koi8-r"},
                    "Command line error: a bad value for --encoding: koi8-r (allowed: cp1251, utf-8)"},
        MessageCase{"NotInTheListWithoutACommand",
                    {"--completion", "fish"},
                    "Ошибка в командной строке: недопустимое значение для --completion: fish (допустимы: bash, zsh)"},
        MessageCase{"ExcludedTogether",
                    {"read-log", "--json", "--csv", "log.csv"},
                    "Ошибка в командной строке: --csv нельзя указывать вместе с --json"},
        MessageCase{"ExcludedTogetherCompact",
                    {"--compact", "decode-log", "r.bin", "--csv", "-", "--json"},
                    "Command line error: --csv cannot be given with --json"}),
    [](const ::testing::TestParamInfo<MessageCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace korvex::test
