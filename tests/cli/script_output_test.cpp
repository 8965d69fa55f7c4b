// --json for scripts: what every command that prints a result prints as one
// JSON object, and the CSV export's encodings.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>

#include "cli/cli_runner.h"
#include "cli/module_memory.h"
#include "log/log_csv.h"
#include "log/log_demo.h"
#include "log/log_record.h"
#include "log/log_rows.h"
#include "voice/wav_buffer.h"
#include "voice/wav_intake.h"

namespace korvex::test {
namespace {

using Json = nlohmann::json;

// The object a run printed; a failed parse fails the test.
Json Parsed(const CliResult& r) {
    const Json value = Json::parse(r.out, nullptr, false);
    EXPECT_TRUE(value.is_object()) << r.out;
    return value;
}

class ScriptOutput : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        full_ = PreparedMemory(FullProfile());
        const LogBytes ring = DemoLogArea();
        std::copy(ring.begin(), ring.end(), full_.begin() + kLogAddress);
        WriteBytes(At("m.bin"), full_);
        WriteBytes(At("ring.bin"), std::vector<std::uint8_t>(ring.begin(), ring.end()));
        WriteBytes(At("c.bin"), PreparedMemory(CompactProfile()));
    }
    std::vector<std::uint8_t> full_;
};

TEST_F(ScriptOutput, IdentifyTellsTheModuleAndItsProgramVersion) {
    struct Case {
        std::vector<std::string> args;
        Json expected;
    };
    const Case cases[] = {
        {{"--port", SimPort("m.bin"), "identify", "--json"}, {{"module", "full"}, {"programVersion", "1.04"}}},
        // The compact module reports no version.
        {{"--compact", "--port", SimPort("c.bin"), "identify", "--json"},
         {{"module", "compact"}, {"programVersion", nullptr}}},
    };
    for (const Case& c : cases) {
        const CliResult r = Run(c.args);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(Parsed(r), c.expected) << r.out;
        EXPECT_EQ(r.err, "");
    }
}

TEST_F(ScriptOutput, ProbeGivesItsFindingsAsNumbers) {
    struct Case {
        const char* model;
        int status;
        Json expected;
    };
    const Case cases[] = {
        {"native",
         0,
         {{"driver", "serial8250"},
          {"setNs", 3000},
          {"readNs", 3000},
          {"liveStatus", true},
          {"verdict", "usable"},
          {"usable", true}}},
        {"ch340",
         0,
         {{"driver", "ch341"},
          {"setNs", 200000},
          {"readNs", 5000},
          {"liveStatus", false},
          {"verdict", "fast-timing-only"},
          {"usable", true}}},
        // Printed before the refusal, so that a script sees why.
        {"cdc-acm", 2, {{"verdict", "cts-stuck-on"}, {"usable", false}}},
    };
    for (const Case& c : cases) {
        const CliResult r = Run({"--port", SimPort("m.bin"), "--sim-port", c.model, "probe", "--json"});
        EXPECT_EQ(r.status, c.status) << c.model << ": " << r.err;
        const Json probe = Parsed(r);
        for (const auto& [key, value] : c.expected.items()) EXPECT_EQ(probe[key], value) << c.model << " " << key;
        EXPECT_TRUE(probe["statusDelayNs"].is_number_unsigned()) << r.out;
    }
}

TEST_F(ScriptOutput, TheLogListingHoldsEveryRecordWithItsNumbers) {
    const CliResult online = Run({"--port", SimPort("m.bin"), "read-log", "--json", "--show-codes"});
    ASSERT_EQ(online.status, 0) << online.err;
    const Json records = Parsed(online)["records"];
    const LogBytes ring = DemoLogArea();
    const std::vector<LogRecord> expected = DecodeLog(ring);
    ASSERT_EQ(records.size(), expected.size()) << online.out;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const LogRecord& want = expected[i];
        const LogRow row = MakeLogRow(want, false, Language::Russian);
        const Json& got = records[i];
        EXPECT_EQ(got["position"], want.position);
        EXPECT_EQ(got["time"], row[kLogColTime]);
        EXPECT_EQ(got["date"], row[kLogColDate]);
        EXPECT_EQ(got["month"], want.month);
        EXPECT_EQ(got["day"], want.day);
        EXPECT_EQ(got["objectId"], row[kLogColId]);
        EXPECT_EQ(got["partition"], row[kLogColPartition]);
        EXPECT_EQ(got["eventCode"], want.eventCode);
        EXPECT_EQ(got["restore"], want.restore);
        // The text alone: the code has its key, whatever --show-codes says.
        EXPECT_EQ(got["event"], row[kLogColEvent]);
        if (want.zoneOrUser == 0) EXPECT_TRUE(got["zoneOrUser"].is_null()) << got;
        else EXPECT_EQ(got["zoneOrUser"], row[kLogColZoneOrUser]);
    }
    const CliResult offline = Run({"decode-log", At("ring.bin"), "--json"});
    ASSERT_EQ(offline.status, 0) << offline.err;
    EXPECT_EQ(offline.out, online.out);
}

TEST_F(ScriptOutput, WritesSummariseWhatTheModuleNowHolds) {
    ASSERT_EQ(Run({"--port", SimPort("m.bin"), "read-config", "-o", At("site.rom")}).status, 0);
    const CliResult config = Run({"--port", SimPort("m.bin"), "write-config", At("site.rom"), "--json"});
    ASSERT_EQ(config.status, 0) << config.err;
    EXPECT_EQ(
        Parsed(config),
        Json({{"module", "full"}, {"file", At("site.rom").string()}, {"bytes", 1120}, {"programVersion", "1.04"}}));

    // 8-bit mono at a rate the slot takes as it is: its bytes are the slot's.
    const std::uint32_t samples = 4000;
    std::vector<std::uint8_t> wav(kWavHeaderSize + samples, 128);
    WriteWavHeader(wav, 16000, samples);
    WriteBytes(At("tone.wav"), wav);
    const CliResult sound =
        Run({"--port", SimPort("m.bin"), "write-sound", "--fresh", "--slot", "2", At("tone.wav"), "--json"});
    ASSERT_EQ(sound.status, 0) << sound.err;
    const Json summary = Parsed(sound);
    EXPECT_EQ(summary["module"], "full");
    const Json& slots = summary["slots"];
    ASSERT_EQ(slots.size(), 6u) << sound.out;
    std::uint32_t used = 0;
    for (std::size_t i = 0; i < slots.size(); ++i) {
        EXPECT_EQ(slots[i]["slot"], i + 1);
        if (i == 1) {
            EXPECT_EQ(slots[i]["file"], At("tone.wav").string());
            EXPECT_EQ(slots[i]["bytes"], samples / 8);
            EXPECT_EQ(slots[i]["rate"], 16000);
        } else {
            EXPECT_TRUE(slots[i]["file"].is_null());
            EXPECT_EQ(slots[i]["bytes"], 0);
        }
        used += slots[i]["bytes"].get<std::uint32_t>();
    }
    EXPECT_EQ(summary["used"], used);
    EXPECT_GT(summary["room"].get<std::uint32_t>(), used);

    // Without --json a write says nothing on success.
    EXPECT_EQ(Run({"--port", SimPort("m.bin"), "write-config", At("site.rom")}).out, "");
}

TEST_F(ScriptOutput, TheCsvExportKeepsItsCodePageUnlessUtf8IsAsked) {
    const std::vector<LogRow> rows = MakeLogRows(DemoLogRecords(), false, Language::Russian);
    const std::string cp1251 = LogCsvBytes(rows).bytes;
    const std::string utf8 = LogCsvText(rows);
    ASSERT_NE(cp1251, utf8);
    struct Case {
        std::vector<std::string> options;
        std::string out;   // on stdout with --csv -
        std::string file;  // in the file with --csv FILE
    };
    const Case cases[] = {
        {{}, cp1251, cp1251},
        {{"--encoding", "cp1251"}, cp1251, cp1251},
        {{"--encoding", "utf-8"}, utf8, utf8},
    };
    for (const Case& c : cases) {
        std::vector<std::string> toStdout{"decode-log", At("ring.bin"), "--csv", "-"};
        toStdout.insert(toStdout.end(), c.options.begin(), c.options.end());
        const CliResult printed = Run(toStdout);
        ASSERT_EQ(printed.status, 0) << printed.err;
        EXPECT_EQ(printed.out, c.out) << (c.options.empty() ? "default" : c.options.back());

        std::vector<std::string> toFile{"--port", SimPort("m.bin"), "read-log", "--csv", At("log.csv").string()};
        toFile.insert(toFile.end(), c.options.begin(), c.options.end());
        ASSERT_EQ(Run(toFile).status, 0);
        EXPECT_EQ(ReadText(At("log.csv")), c.file);
    }
    EXPECT_NE(utf8.find("04 декабрь"), std::string::npos) << utf8;
}

}  // namespace
}  // namespace korvex::test
