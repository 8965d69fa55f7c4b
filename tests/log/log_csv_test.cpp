#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "model/cp1251.h"
#include "record_fixture.h"
#include "log/log_csv.h"

namespace korvex {
namespace {

using test::To1251;


namespace fs = std::filesystem;

LogRecord Record(int month, int day, int hour, int minute, int id, int partition, int code, bool restore,
                 int zone) {
    return test::MakeRecord(month, day, hour, minute, id, partition, code, restore, zone);
}

// Six fields, five fields (no zone), the comma text of code 146, and a cell
// with double quotes.
std::vector<LogRow> FixtureRows() {
    std::vector<LogRow> rows = {
        MakeLogRow(Record(12, 5, 9, 23, 0x1234, 2, 130, true, 3), false, Language::Russian),
        MakeLogRow(Record(0, 31, 23, 59, 0xABCD, 15, 602, false, 0), false, Language::Russian),
        MakeLogRow(Record(1, 1, 0, 7, 0, 0, 146, false, 255), true, Language::Russian),
    };
    rows.push_back({"5", "12:00", "02 май", "0001", "01", "say \"hi\"", "0A"});
    return rows;
}

const std::string kFixtureBytes =
    //    (three spaces)
    "   \r\n"
    // 09:23,05 декабрь,1234,02,Восстановление зоны,03
    "09:23,05 \xE4\xE5\xEA\xE0\xE1\xF0\xFC,1234,02,\xC2\xEE\xF1\xF1\xF2\xE0\xED\xEE\xE2\xEB\xE5\xED\xE8\xE5 "
    "\xE7\xEE\xED\xFB,03\r\n"
    // 23:59,31 ,ABCD,0F,Периодический тестовый отчет
    "23:59,31 ,ABCD,0F,\xCF\xE5\xF0\xE8\xEE\xE4\xE8\xF7\xE5\xF1\xEA\xE8\xE9 \xF2\xE5\xF1\xF2\xEE\xE2\xFB\xE9 "
    "\xEE\xF2\xF7\xE5\xF2\r\n"
    // 00:07,01 январь,0000,00,"146 Тихая тревога, взлом",FF
    "00:07,01 \xFF\xED\xE2\xE0\xF0\xFC,0000,00,\"146 \xD2\xE8\xF5\xE0\xFF \xF2\xF0\xE5\xE2\xEE\xE3\xE0, "
    "\xE2\xE7\xEB\xEE\xEC\",FF\r\n"
    // 12:00,02 май,0001,01,"say ""hi""",0A
    "12:00,02 \xEC\xE0\xE9,0001,01,\"say \"\"hi\"\"\",0A\r\n";

std::string ReadAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(LogCsv, FixtureBytes) {
    const Cp1251Result csv = LogCsvBytes(FixtureRows());
    ASSERT_TRUE(csv.Ok()) << csv.error->Message();
    EXPECT_EQ(csv.bytes, kFixtureBytes);
}

TEST(LogCsv, EmptyListingIsTheFirstLineOnly) {
    const Cp1251Result csv = LogCsvBytes({});
    EXPECT_TRUE(csv.Ok());
    EXPECT_EQ(csv.bytes, "   \r\n");
}

TEST(LogCsv, CellWithoutA1251CodeIsRefused) {
    std::vector<LogRow> rows = FixtureRows();
    rows[1][kLogColEvent] = "Zdzisław";
    const Cp1251Result csv = LogCsvBytes(rows);
    ASSERT_FALSE(csv.Ok());
    EXPECT_EQ(csv.error->character, U'ł');
    const fs::path file = fs::path(testing::TempDir()) / "log_csv_refused.csv";
    fs::remove(file);
    const LogCsvOutcome saved = SaveLogCsv(file, rows);
    EXPECT_FALSE(saved.Ok());
    EXPECT_EQ(saved.file, file);
    EXPECT_EQ(saved.reason, "the listing holds a character with no code in code page 1251");
    EXPECT_FALSE(fs::exists(file));
}

class LogCsvFile : public testing::Test {
protected:
    void SetUp() override {
        dir = fs::path(testing::TempDir()) / ("log_csv_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::vector<fs::path> Entries() const {
        std::vector<fs::path> names;
        for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename());
        return names;
    }
    fs::path dir;
};

TEST_F(LogCsvFile, ReplacesAnExistingFileWithTheExportAndLeavesNothingBeside) {
    const fs::path file = dir / "журнал.csv";
    std::ofstream(file, std::ios::binary) << "an older and much longer export that must vanish completely";
    EXPECT_TRUE(SaveLogCsv(file, FixtureRows()).Ok());
    EXPECT_EQ(ReadAll(file), kFixtureBytes);
    EXPECT_EQ(Entries(), std::vector<fs::path>{"журнал.csv"});
}

TEST_F(LogCsvFile, MissingFolderIsReportedWithNameAndReason) {
    const fs::path file = dir / "no such folder" / "log.csv";
    const LogCsvOutcome saved = SaveLogCsv(file, FixtureRows());
    EXPECT_FALSE(saved.Ok());
    EXPECT_EQ(saved.file, file);
    EXPECT_EQ(saved.reason, std::generic_category().message(ENOENT));
    EXPECT_NE(saved.Message().find("no such folder"), std::string::npos);
    EXPECT_TRUE(Entries().empty());
}

TEST_F(LogCsvFile, TargetThatCannotBeReplacedStaysAsItWas) {
    // A folder of that name cannot be replaced by a file: the rename fails
    // after the new text was written, and the temporary file goes again.
    const fs::path file = dir / "log.csv";
    fs::create_directory(file);
    std::ofstream(file / "keep.txt") << "kept";
    const LogCsvOutcome saved = SaveLogCsv(file, FixtureRows());
    EXPECT_FALSE(saved.Ok());
    EXPECT_EQ(saved.file, file);
    EXPECT_FALSE(saved.reason.empty());
    EXPECT_EQ(ReadAll(file / "keep.txt"), "kept");
    EXPECT_EQ(Entries(), std::vector<fs::path>{"log.csv"});
}

TEST(Cp1251, Conversion) {
    struct Case {
        const char* name;
        std::string utf8;
        std::optional<std::string> expected;
    } const cases[] = {
        {"ASCII passes", "09:23,ABCD ~", "09:23,ABCD ~"},
        {"first and last letters", "АЯаяЁё", "\xC0\xDF\xE0\xFF\xA8\xB8"},
        {"signs of the upper half", "№€–—«»\u00A0", "\xB9\x88\x96\x97\xAB\xBB\xA0"},
        {"other Cyrillic alphabets", "ЂђЇїҐґЎў", "\x80\x90\xAF\xBF\xA5\xB4\xA1\xA2"},
        {"a letter 1251 lacks", "ł", std::nullopt},
        {"CJK", "中", std::nullopt},
        {"truncated sequence", "\xD0", std::nullopt},
        {"stray continuation byte", "\x80", std::nullopt},
        {"overlong slash", "\xC0\xAF", std::nullopt},
        {"surrogate", "\xED\xA0\x80", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(To1251(c.utf8), c.expected) << c.name;
}

}  // namespace
}  // namespace korvex
