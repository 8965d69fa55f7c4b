// diff and report: the rows and exit statuses scripts rely on, against files
// and a simulated module, and the report file.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "cli/cli_runner.h"
#include "cli/module_memory.h"
#include "link/profile.h"

namespace korvex::test {
namespace {

class CompareCommands : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        Build("a.rom", R"({"phones": ["+79161234567", "-", "-", "-", "-", "-", "-", "-"], "objectName": "Склад <7>"})");
        Build("b.rom", R"({"phones": ["-79161234567", "-", "-", "-", "-", "-", "-", "-"], "objectName": "Склад <7>",
                          "autodialCycles": 5})");
        WriteBytes(At("m.bin"), PreparedMemory(FullProfile()));
    }
    void Build(const std::string& rom, const std::string& json) {
        WriteText(At("in.json"), json);
        ASSERT_EQ(Run({"build", At("in.json").string(), "-o", At(rom).string(), "--date", "2026-12-09"}).status, 0);
    }
};

TEST_F(CompareCommands, TwoFilesPrintTheDifferingFieldsAndExitFive) {
    const CliResult r = Run({"diff", At("a.rom").string(), At("b.rom").string()});
    EXPECT_EQ(r.status, 5) << r.err;
    EXPECT_EQ(r.out, "Страница\tПоле\t" + At("a.rom").string() + "\t" + At("b.rom").string() +
                         "\n"
                         "Телефоны\tТелефон #1\t+79161234567\t79161234567\n"
                         "Свойства\tКол-во циклов автодозвона (3..9)\t3\t5\n");
}

TEST_F(CompareCommands, EqualFilesSayNoDifferencesAndExitZero) {
    const CliResult text = Run({"diff", At("a.rom").string(), At("a.rom").string()});
    EXPECT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(text.out, "Нет различий\n");
    const CliResult json = Run({"diff", At("a.rom").string(), At("a.rom").string(), "--json"});
    EXPECT_EQ(json.status, 0);
    EXPECT_TRUE(nlohmann::json::parse(json.out)["differences"].empty());
}

TEST_F(CompareCommands, JsonRowsCarryPageFieldAndBothValues) {
    const CliResult r = Run({"diff", At("a.rom").string(), At("b.rom").string(), "--json"});
    ASSERT_EQ(r.status, 5) << r.err;
    const auto rows = nlohmann::json::parse(r.out)["differences"];
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1], (nlohmann::json{{"page", "Свойства"},
                                       {"field", "Кол-во циклов автодозвона (3..9)"},
                                       {"left", "3"},
                                       {"right", "5"}}));
}

TEST_F(CompareCommands, FileAgainstTheModuleOnThePort) {
    ASSERT_EQ(Run({"--port", SimPort("m.bin"), "write-config", At("a.rom").string()}).status, 0);
    const CliResult same = Run({"--port", SimPort("m.bin"), "diff", At("a.rom").string()});
    EXPECT_EQ(same.status, 0) << same.err;
    const CliResult differs = Run({"--port", SimPort("m.bin"), "diff", At("b.rom").string()});
    EXPECT_EQ(differs.status, 5) << differs.err;
    EXPECT_NE(differs.out.find("\tМодуль\n"), std::string::npos);
    EXPECT_NE(differs.out.find("Телефоны\tТелефон #1\t79161234567\t+79161234567\n"), std::string::npos);
}

// A tab or a newline in a name would split its row, an escape sequence
// would reach the terminal: they are escaped as show escapes them.
TEST_F(CompareCommands, ControlCharactersInTheRowsAreEscaped) {
    std::vector<std::uint8_t> image = ReadBytes(At("a.rom"));
    const std::vector<std::uint8_t> name{0xD1, 0xEA, 0xEB, 0xE0, 0xE4};  // "Склад" in code page 1251
    const auto at = std::search(image.begin(), image.end(), name.begin(), name.end());
    ASSERT_NE(at, image.end());
    const std::uint8_t controls[] = {'\t', '\n', 0x1B, '[', '\\'};
    std::copy(std::begin(controls), std::end(controls), at + 1);
    WriteBytes(At("c.rom"), image);

    const CliResult r = Run({"diff", At("a.rom").string(), At("c.rom").string()});
    EXPECT_EQ(r.status, 5) << r.err;
    const std::string row = "\tСклад <7>\tС\\t\\n\\u001b[\\\\<7>\n";
    EXPECT_TRUE(r.out.ends_with(row)) << r.out;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 2) << "a heading and one row";
    EXPECT_EQ(r.out.find('\x1b'), std::string::npos);
    const auto rowStart = r.out.find('\n') + 1;
    EXPECT_EQ(std::count(r.out.begin() + static_cast<long>(rowStart), r.out.end(), '\t'), 3) << "four fields";
}

// The result that could not be written is a failure whatever it said, and
// is told once.
TEST_F(CompareCommands, AResultThatCannotBeWrittenIsExitFourToldOnce) {
    SetStandardOutput("/dev/full");
    const CliResult differs = Run({"diff", At("a.rom").string(), At("b.rom").string()});
    EXPECT_EQ(differs.status, 4);
    EXPECT_EQ(differs.err, "Не удалось записать файл: stdout: " + std::string(std::strerror(ENOSPC)) + "\n");
    const CliResult same = Run({"diff", At("a.rom").string(), At("a.rom").string()});
    EXPECT_EQ(same.status, 4);
    const CliResult report = Run({"report", At("a.rom").string(), "-o", "-"});
    EXPECT_EQ(report.status, 4);
    EXPECT_EQ(report.err, "Не удалось записать файл: stdout: " + std::string(std::strerror(ENOSPC)) + "\n");
}

TEST_F(CompareCommands, FailuresKeepTheirOwnStatus) {
    EXPECT_EQ(Run({"--port", SimPort("m.bin"), "--sim-fault", "absent", "diff", At("a.rom").string()}).status, 2);
    EXPECT_EQ(Run({"diff", At("a.rom").string(), At("missing.rom").string()}).status, 4);
    EXPECT_EQ(Run({"diff"}).status, 1);
}

TEST_F(CompareCommands, ReportWritesEscapedHtmlWithTheLog) {
    WriteBytes(At("log.bin"), std::vector<std::uint8_t>(896, 0xFF));
    const CliResult r =
        Run({"report", At("a.rom").string(), "-o", At("r.html").string(), "--log", At("log.bin").string()});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string html = ReadText(At("r.html"));
    EXPECT_NE(html.find("<td>Склад &lt;7&gt;</td>"), std::string::npos);
    EXPECT_NE(html.find("<h2>Коммуникатор</h2>"), std::string::npos);
    EXPECT_EQ(html.find("<7>"), std::string::npos);
}

// The report never lands on its own project file or log; "-" prints it.
TEST_F(CompareCommands, ReportOutputOverAnInputIsRefusedAndDashPrints) {
    WriteBytes(At("log.bin"), std::vector<std::uint8_t>(896, 0xFF));
    const std::string project = ReadText(At("a.rom"));
    EXPECT_EQ(Run({"report", At("a.rom").string(), "-o", At("a.rom").string()}).status, 1);
    EXPECT_EQ(Run({"report", At("a.rom").string(), "-o", At("log.bin").string(), "--log", At("log.bin").string()})
                  .status,
              1);
    EXPECT_EQ(ReadText(At("a.rom")), project);
    EXPECT_EQ(ReadText(At("log.bin")), std::string(896, '\xFF'));
    const CliResult printed = Run({"report", At("a.rom").string(), "-o", "-"});
    ASSERT_EQ(printed.status, 0) << printed.err;
    EXPECT_NE(printed.out.find("<td>Склад &lt;7&gt;</td>"), std::string::npos);
}

TEST_F(CompareCommands, ReportOfTheCompactModuleRefusesALog) {
    WriteBytes(At("log.bin"), std::vector<std::uint8_t>(896, 0xFF));
    EXPECT_EQ(Run({"--compact", "report", At("a.rom").string(), "-o", At("r.html").string(), "--log",
                   At("log.bin").string()})
                  .status,
              1);
}

}  // namespace
}  // namespace korvex::test
