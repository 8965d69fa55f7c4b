// Bad command lines and bad files end with their status and a message, and
// change nothing.
#include <gtest/gtest.h>

#include "cli/cli_runner.h"
#include "cli/module_memory.h"

namespace korvex::test {
namespace {

struct BadCase {
    const char* name;
    std::vector<std::string> args;  // "@x" stands for the test folder's file x
    int status;
    std::string errStart;           // the message begins so
};
void PrintTo(const BadCase& c, std::ostream* os) { *os << c.name; }

class BadInput : public CliTest, public ::testing::WithParamInterface<BadCase> {
protected:
    void SetUp() override {
        CliTest::SetUp();
        module_ = PreparedMemory(FullProfile());
        WriteBytes(At("m.bin"), module_);
        WriteBytes(At("short.bin"), std::vector<std::uint8_t>(100, 0xFF));
        WriteBytes(At("short.rom"), std::vector<std::uint8_t>(1119, 0));
        WriteBytes(At("long.rom"), std::vector<std::uint8_t>(1121, 0));
        WriteBytes(At("compact-size.rom"), std::vector<std::uint8_t>(768, 0));
        std::filesystem::create_directory(At("folder"));
    }
    std::vector<std::uint8_t> module_;
};

TEST_P(BadInput, EndsWithItsStatusAndLeavesTheModuleAlone) {
    const BadCase& c = GetParam();
    std::vector<std::string> args;
    for (const std::string& a : c.args) {
        if (a.starts_with("sim:@")) args.push_back("sim:" + At(a.substr(5)).string());
        else if (a.starts_with("@")) args.push_back(At(a.substr(1)).string());
        else args.push_back(a);
    }
    const CliResult r = Run(args);
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_TRUE(r.err.starts_with(c.errStart)) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(ReadBytes(At("m.bin")), module_);
}

INSTANTIATE_TEST_SUITE_P(
    Cli, BadInput,
    ::testing::Values(
        // Usage: exit status 1, nothing opened.
        // One language per message, the unknown command named, the commands listed.
        BadCase{"NoCommand",
                {"--port", "sim:@m.bin"},
                1,
                "Ошибка в командной строке: не указана команда (команды: probe, identify, read-config, "},
        BadCase{"UnknownCommand",
                {"--port", "sim:@m.bin", "format-module"},
                1,
                "Ошибка в командной строке: неизвестная команда: format-module (команды: probe, identify, "},
        BadCase{"UnknownCommandCompact",
                {"--compact", "--port", "sim:@m.bin", "format-module", "now"},
                1,
                "Command line error: unknown command: format-module (commands: probe, identify, "},
        BadCase{"UnknownOption",
                {"--port", "sim:@m.bin", "--speed", "9600", "identify"},
                1,
                "Ошибка в командной строке: "},
        BadCase{"EnglishWithCompact",
                {"--compact", "--port", "sim:@m.bin", "identify", "extra"},
                1,
                "Command line error: "},
        BadCase{"MissingOutput", {"--port", "sim:@m.bin", "read-config"}, 1, "Ошибка в командной строке: "},
        BadCase{"MissingInput", {"--port", "sim:@m.bin", "write-config"}, 1, "Ошибка в командной строке: "},
        BadCase{"UnknownFault",
                {"--port", "sim:@m.bin", "--sim-fault", "melt", "identify"},
                1,
                "Неизвестная неисправность для --sim-fault: melt"},
        BadCase{"FaultWithoutCount",
                {"--port", "sim:@m.bin", "--sim-fault", "pull", "identify"},
                1,
                "Неизвестная неисправность для --sim-fault: pull"},
        BadCase{"FaultCountZero",
                {"--port", "sim:@m.bin", "--sim-fault", "flip-read:0", "identify"},
                1,
                "Неизвестная неисправность"},
        BadCase{"FaultCountNotANumber",
                {"--port", "sim:@m.bin", "--sim-fault", "flip-write:x", "identify"},
                1,
                "Неизвестная неисправность"},
        BadCase{"CountOnAFlag",
                {"--port", "sim:@m.bin", "--sim-fault", "absent:2", "identify"},
                1,
                "Неизвестная неисправность"},
        // A COM number no port has would be opened as a file of that name.
        BadCase{"ComZero", {"--port", "COM0", "identify"}, 1, "--port: номер COM-порта должен быть от 1 до 255: COM0"},
        BadCase{"Com256", {"--port", "com256", "identify"}, 1, "--port: номер COM-порта должен быть от 1 до 255"},
        BadCase{"ComHuge",
                {"--compact", "--port", "COM99999999999", "identify"},
                1,
                "--port: a COM port number must be 1 to 255"},
        // An output that is an input of the same command would destroy it.
        BadCase{"OutputOverTheModuleFile",
                {"--port", "sim:@m.bin", "read-config", "-o", "@m.bin"},
                1,
                "Выходной файл совпадает с входным файлом команды: "},
        BadCase{"OutputOverTheModuleFileByAnotherName",
                {"--port", "sim:@m.bin", "read-config", "-o", "@folder/../m.bin"},
                1,
                "Выходной файл совпадает"},
        BadCase{"TraceOverTheModuleFile",
                {"--port", "sim:@m.bin", "--trace", "@m.bin", "identify"},
                1,
                "Выходной файл совпадает"},
        BadCase{"TraceOverTheProject",
                {"--port", "sim:@m.bin", "--trace", "@short.rom", "write-config", "@short.rom"},
                1,
                "Выходной файл совпадает"},
        // Two outputs of one command that are one file: the last written would win.
        BadCase{"TraceIsTheProject",
                {"--port", "sim:@m.bin", "--trace", "@out.rom", "read-config", "-o", "@out.rom"},
                1,
                "Два выходных файла команды совпадают: "},
        BadCase{"TraceIsTheCsv",
                {"--port", "sim:@m.bin", "--trace", "@folder/../log.csv", "read-log", "--csv", "@log.csv"},
                1,
                "Два выходных файла команды совпадают: "},
        BadCase{"TraceIsASlotFile",
                {"--compact", "--port", "sim:@m.bin", "--trace", "@folder/slot2.wav", "read-sound", "-d", "@folder"},
                1,
                "Two outputs of the command are the same file: "},
        BadCase{"CsvOverTheRawLog", {"decode-log", "@m.bin", "--csv", "@m.bin"}, 1, "Выходной файл совпадает"},
        BadCase{"BuildOverItsJson", {"build", "@m.bin", "-o", "@m.bin"}, 1, "Выходной файл совпадает"},
        BadCase{"TraceOnASerialPort",
                {"--port", "@no-tty", "--trace", "@t.txt", "identify"},
                1,
                "--trace, --sim-fault, --sim-port и --sim-pace действуют только"},
        BadCase{"FaultOnASerialPort",
                {"--compact", "--port", "@no-tty", "--sim-fault", "absent", "identify"},
                1,
                "--trace, --sim-fault, --sim-port and --sim-pace work only"},
        // Files: exit status 4, the module untouched.
        BadCase{"MissingProject",
                {"--port", "sim:@m.bin", "write-config", "@none.rom"},
                4,
                "Не удалось открыть файл: "},
        BadCase{"ProjectIsAFolder",
                {"--port", "sim:@m.bin", "write-config", "@folder"},
                4,
                "Не удалось открыть файл: "},
        BadCase{"ShortProject",
                {"--port", "sim:@m.bin", "write-config", "@short.rom"},
                4,
                "Файл должен иметь размер 1120 байт: "},
        BadCase{"LongProject",
                {"--port", "sim:@m.bin", "write-config", "@long.rom"},
                4,
                "Файл должен иметь размер 1120 байт: "},
        BadCase{"CompactProjectForTheFullModule",
                {"--port", "sim:@m.bin", "write-config", "@compact-size.rom"},
                4,
                "Файл должен иметь размер 1120 байт: "},
        BadCase{"ShortModuleFile",
                {"--port", "sim:@short.bin", "identify"},
                4,
                "Файл памяти модуля должен иметь размер 32768 байт: "},
        BadCase{"ModuleFileIsAFolder",
                {"--port", "sim:@folder", "identify"},
                4,
                "Не удалось прочитать память модуля: "},
        BadCase{"ModuleFileInAMissingFolder",
                {"--port", "sim:@none/m.bin", "identify"},
                4,
                "Не удалось создать файл памяти модуля: "},
        BadCase{"TraceInAMissingFolder",
                {"--port", "sim:@m.bin", "--trace", "@none/t.txt", "identify"},
                4,
                "Не удалось записать трассировку: "},
        BadCase{"OutputInAMissingFolder",
                {"--port", "sim:@m.bin", "read-config", "-o", "@none/out.rom"},
                4,
                "Не удалось создать файл: "}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace korvex::test
