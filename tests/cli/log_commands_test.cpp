// read-log, decode-log and clear-log.
#include <gtest/gtest.h>

#include <algorithm>

#include "cli/cli_runner.h"
#include "cli/module_memory.h"
#include "log/log_csv.h"
#include "log/log_demo.h"
#include "log/log_record.h"
#include "log/log_rows.h"

namespace korvex::test {
namespace {

class LogCommands : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        memory_ = PreparedMemory(FullProfile());
        const LogBytes ring = DemoLogArea();
        std::copy(ring.begin(), ring.end(), memory_.begin() + kLogAddress);
        WriteBytes(At("m.bin"), memory_);
        WriteBytes(At("ring.bin"), std::vector<std::uint8_t>(ring.begin(), ring.end()));
    }
    std::vector<std::uint8_t> memory_;
};

constexpr char kHeader[] = "№\tВремя\tДата\tID\tРаздел\tСобытие\tЗона/Пользователь\n";

TEST_F(LogCommands, ReadLogPrintsTheListing) {
    const CliResult r = Run({"--port", SimPort("m.bin"), "read-log"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.out.starts_with(kHeader)) << r.out;
    // A record without a zone keeps its last cell as the single space.
    EXPECT_NE(r.out.find("\n4\t09:23\t05 декабрь\t1234\t01\tОтсутствие сетевого питания\t \n"), std::string::npos)
        << r.out;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1 + static_cast<long>(DemoLogRecords().size()));
    EXPECT_EQ(ReadBytes(At("m.bin")), memory_);
}

TEST_F(LogCommands, DecodeLogListsTheSameRowsOffline) {
    const CliResult online = Run({"--port", SimPort("m.bin"), "read-log", "--show-codes"});
    const CliResult offline = Run({"decode-log", At("ring.bin"), "--show-codes"});
    ASSERT_EQ(offline.status, 0) << offline.err;
    EXPECT_EQ(offline.out, online.out);
    EXPECT_NE(offline.out.find("\t602 Периодический тестовый отчет\t"), std::string::npos) << offline.out;
}

TEST_F(LogCommands, CsvIsTheExportOfTheListing) {
    const CliResult r = Run({"--port", SimPort("m.bin"), "read-log", "--csv", At("log.csv")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    const auto rows = MakeLogRows(DemoLogRecords(), false, Language::Russian);
    const std::string csv = ReadText(At("log.csv"));
    EXPECT_EQ(csv, LogCsvBytes(rows).bytes);
    EXPECT_TRUE(csv.starts_with("   \r\n18:05,04 \xE4\xE5\xEA\xE0\xE1\xF0\xFC,1234,01,")) << csv;  // code page 1251

    const CliResult offline = Run({"decode-log", At("ring.bin"), "--csv", At("offline.csv")});
    ASSERT_EQ(offline.status, 0) << offline.err;
    EXPECT_EQ(ReadText(At("offline.csv")), csv);
}

TEST_F(LogCommands, ClearLogErasesTheRingOnly) {
    const CliResult r = Run({"--port", SimPort("m.bin"), "clear-log"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<std::uint8_t> expected = memory_;
    std::fill(expected.begin() + kLogAddress, expected.begin() + kLogAddress + kLogSize, 0xFF);
    EXPECT_EQ(ReadBytes(At("m.bin")), expected);

    const CliResult listed = Run({"--port", SimPort("m.bin"), "read-log"});
    EXPECT_EQ(listed.status, 0) << listed.err;
    EXPECT_EQ(listed.out, kHeader);
    // An empty listing still exports its first line.
    ASSERT_EQ(Run({"--port", SimPort("m.bin"), "read-log", "--csv", At("empty.csv")}).status, 0);
    EXPECT_EQ(ReadText(At("empty.csv")), "   \r\n");
}

TEST_F(LogCommands, FailuresEndWithTheirStatusAndWriteNothing) {
    WriteBytes(At("ring-short.bin"), std::vector<std::uint8_t>(kLogSize - 1, 0xFF));
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string errStart;
    };
    const Case cases[] = {
        {{"--port", SimPort("m.bin"), "--sim-fault", "absent", "read-log", "--csv", At("out.csv")}, 2,
         "Устройство не подключено"},
        {{"--port", SimPort("m.bin"), "--sim-fault", "absent", "clear-log"}, 2, "Устройство не подключено"},
        // The records stay on a write-protected module: not a success.
        {{"--port", SimPort("m.bin"), "--sim-fault", "write-protect", "clear-log"}, 3, "Ошибка записи! (адрес "},
        {{"--compact", "--port", SimPort("m.bin"), "read-log"}, 1, "The compact module has no event log"},
        {{"--compact", "--port", SimPort("m.bin"), "clear-log"}, 1, "The compact module has no event log"},
        {{"decode-log", At("ring-short.bin"), "--csv", At("out.csv")}, 4, "Файл должен иметь размер 896 байт: "},
        {{"decode-log", At("none.bin")}, 4, "Не удалось открыть файл: "},
        {{"decode-log", At("ring.bin"), "--csv", At("none/out.csv")}, 4, "Не удалось записать файл: "},
    };
    for (const Case& c : cases) {
        const CliResult r = Run(c.args);
        EXPECT_EQ(r.status, c.status) << c.args.back() << ": " << r.err;
        EXPECT_TRUE(r.err.starts_with(c.errStart)) << r.err;
        EXPECT_FALSE(std::filesystem::exists(At("out.csv")));
    }
    EXPECT_EQ(ReadBytes(At("m.bin")), memory_);
}

}  // namespace
}  // namespace korvex::test
