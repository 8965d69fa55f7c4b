// Port models, the line probe, the bus timings and what a command cost.
#include <gtest/gtest.h>

#include <regex>

#include "cli/cli_runner.h"
#include "cli/module_memory.h"
#include "link/profile.h"
#include "sim/demo.h"

namespace korvex::test {
namespace {

class PortCommands : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        const auto demo = MakeDemoMemory(FullProfile());
        WriteBytes(At("m.bin"), std::vector<std::uint8_t>(demo.begin(), demo.end()));
    }
};

// seconds= of the stats line, or -1.
double StatsSeconds(const std::string& err, std::string* counts = nullptr) {
    std::smatch m;
    const std::regex line(R"(stats: (sets=\d+ reads=\d+ waits=\d+) seconds=([0-9.]+)\n$)");
    if (!std::regex_search(err, m, line)) return -1;
    if (counts) *counts = m[1];
    return std::stod(m[2]);
}

TEST_F(PortCommands, ProbeTellsThePortKindAndItsCosts) {
    struct Case {
        const char* model;
        const char* says;
        int status;
    };
    const Case cases[] = {
        {"native", "port: serial8250, set 3.0 us, status read 3.0 us, status live", 0},
        {"ftdi", "port: ftdi_sio, set 200.0 us, status read 200.0 us, status live", 0},
        {"ch340", "port: ch341, set 200.0 us, status read 5.0 us, status cached", 0},
        {"cdc-acm", "this cable cannot read the module back: CTS does not follow RTS", 2},
        // A set or a read through the pin stream is one bulk round trip.
        {"ft232r-bitbang",
         "port: ftdi_sio, synchronous bit-bang (a set or a read is one bulk round trip), set 1055.0 us", 0},
    };
    for (const Case& c : cases) {
        const CliResult r = Run({"--port", SimPort("m.bin"), "--sim-port", c.model, "probe"});
        EXPECT_EQ(r.status, c.status) << c.model << ": " << r.err;
        EXPECT_NE(r.out.find(c.says), std::string::npos) << c.model << ": " << r.out;
    }
}

TEST_F(PortCommands, TheSpecTimingOnACachedStatusIsWarnedAgainst) {
    const std::string warning = "Внимание: этот кабель сообщает состояние линий с опозданием, и обмен --bus spec может "
                                "прочитать байты неверно; используйте --bus fast.\n";
    struct Case {
        const char* model;
        const char* bus;
        bool warned;
    };
    const Case cases[] = {
        {"ch340", "spec", true}, {"pl2303", "spec", true}, {"ch340", "fast", false},
        {"ftdi", "spec", false}, {"native", "spec", false},
    };
    for (const Case& c : cases) {
        const CliResult r = Run({"--port", SimPort("m.bin"), "--sim-port", c.model, "--bus", c.bus, "probe"});
        EXPECT_EQ(r.status, 0) << c.model << ": " << r.err;
        EXPECT_EQ(r.err, c.warned ? warning : std::string()) << c.model << " " << c.bus;
        const bool cached = std::string_view(c.model) == "ch340" || std::string_view(c.model) == "pl2303";
        EXPECT_EQ(r.out.find("usable with the fast timing only") != std::string::npos, cached) << c.model << ": " << r.out;
    }
    const CliResult english = Run({"--compact", "--port", "demo", "--sim-port", "ch340", "identify"});
    // The standard timing may well misread the module after this; the warning comes first.
    EXPECT_TRUE(english.err.starts_with("Warning: this cable reports its lines late")) << english.err;
}

TEST_F(PortCommands, ACableThatCannotReadBackIsRefusedNotCalledMissing) {
    const auto before = ReadBytes(At("m.bin"));
    for (const char* command : {"identify", "clear-log"}) {
        const CliResult r = Run({"--port", SimPort("m.bin"), "--sim-port", "cdc-acm", command});
        EXPECT_EQ(r.status, 2) << command;
        EXPECT_EQ(r.err, "Этот кабель не может читать модуль: CTS не следует за RTS\n") << command;
    }
    EXPECT_EQ(ReadBytes(At("m.bin")), before);
    const CliResult english = Run({"--compact", "--port", "demo", "--sim-port", "cdc-acm", "identify"});
    EXPECT_EQ(english.err, "This cable cannot read the module back: CTS does not follow RTS\n");
}

TEST_F(PortCommands, StatsAreTheLastLineAndFastIsFasterForTheSameBytes) {
    const CliResult backup = Run({"--port", SimPort("m.bin"), "read-config", "-o", At("old.rom")});
    ASSERT_EQ(backup.status, 0) << backup.err;
    // A one-field edit: the SMS centre's first digit.
    auto edited = ReadBytes(At("old.rom"));
    edited[700] ^= 0x01;
    WriteBytes(At("new.rom"), edited);
    std::filesystem::copy_file(At("m.bin"), At("f.bin"));

    const CliResult spec = Run({"--port", SimPort("m.bin"), "--sim-port", "ftdi", "--stats", "write-config",
                                At("new.rom").string(), "--since", At("old.rom").string()});
    const CliResult fast = Run({"--port", SimPort("f.bin"), "--sim-port", "ftdi", "--stats", "--bus", "fast",
                                "write-config", At("new.rom").string(), "--since", At("old.rom").string()});
    ASSERT_EQ(spec.status, 0) << spec.err;
    ASSERT_EQ(fast.status, 0) << fast.err;
    EXPECT_EQ(ReadBytes(At("m.bin")), ReadBytes(At("f.bin")));
    std::string specCounts;
    const double specSeconds = StatsSeconds(spec.err, &specCounts);
    const double fastSeconds = StatsSeconds(fast.err);
    EXPECT_NEAR(specSeconds, 38, 38 * 0.1) << spec.err;
    EXPECT_GT(fastSeconds, 0) << fast.err;
    EXPECT_LE(fastSeconds, 8) << fast.err;
    EXPECT_NE(specCounts.find("waits="), std::string::npos);

    // A failure still ends with the stats line, after its message.
    const CliResult absent = Run({"--port", SimPort("m.bin"), "--sim-fault", "absent", "--stats", "identify"});
    EXPECT_EQ(absent.status, 2);
    EXPECT_TRUE(absent.err.starts_with("Устройство не подключено\nstats: ")) << absent.err;
}

TEST_F(PortCommands, BadPortOptionsAreUsageErrors) {
    struct Case {
        std::vector<std::string> args;
        const char* says;
    };
    const Case cases[] = {
        {{"--port", "sim:x.bin", "--sim-port", "usb9", "identify"}, "Неизвестная модель порта для --sim-port: usb9"},
        {{"--port", "COM3", "--sim-port", "ftdi", "identify"}, "--trace, --sim-fault, --sim-port и --sim-pace"},
        {{"--port", "sim:x.bin", "--bus", "turbo", "identify"}, "--bus принимает spec или fast, а не turbo"},
        {{"--port", "sim:x.bin", "--sim-pace", "slow", "identify"}, "--sim-pace принимает virtual или real, а не slow"},
        {{"--port", "COM3", "--sim-pace", "real", "identify"}, "--trace, --sim-fault, --sim-port и --sim-pace"},
    };
    for (const Case& c : cases) {
        const CliResult r = Run(c.args);
        EXPECT_EQ(r.status, 1) << c.says;
        EXPECT_TRUE(r.err.starts_with(c.says)) << r.err;
    }
    EXPECT_FALSE(std::filesystem::exists(At("x.bin")));
}

// Without --port a module command stops with the ports there are, never
// guessing one (COM1 is often a console or another device); KORVEX_PORT
// names a default, and --port still wins over it.
TEST_F(PortCommands, AModuleCommandWithoutAPortNamesThePortsAndOpensNone) {
    const auto before = ReadBytes(At("m.bin"));
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"identify"},
          {"clear-log"},
          {"diff", At("p.rom").string()},
          {"--trace", At("t.txt").string(), "read-config", "-o", At("p.rom").string()}}) {
        SCOPED_TRACE(args[0]);
        const CliResult r = Run(args);
        EXPECT_EQ(r.status, 1) << r.err;
        EXPECT_TRUE(r.err.starts_with("Не указан порт модуля: укажите --port или задайте KORVEX_PORT. Порты: "))
            << r.err;
        EXPECT_TRUE(r.err.ends_with("demo, sim:ФАЙЛ\n")) << r.err;
    }
    const CliResult english = Run({"--compact", "probe"});
    EXPECT_EQ(english.status, 1);
    EXPECT_TRUE(english.err.starts_with("No module port given: use --port or set KORVEX_PORT. Ports: ")) << english.err;
    EXPECT_TRUE(english.err.ends_with("demo, sim:FILE\n")) << english.err;
    EXPECT_FALSE(std::filesystem::exists(At("p.rom")));
    EXPECT_FALSE(std::filesystem::exists(At("t.txt")));

    // A command with no module needs no port.
    WriteText(At("s.json"), "{}");
    EXPECT_EQ(Run({"build", At("s.json").string(), "-o", At("s.rom").string()}).status, 0);

    SetEnvironment("KORVEX_PORT", SimPort("m.bin"));
    const CliResult named = Run({"clear-log"});
    EXPECT_EQ(named.status, 0) << named.err;
    EXPECT_NE(ReadBytes(At("m.bin")), before) << "the log was erased on the module KORVEX_PORT names";
    WriteBytes(At("other.bin"), before);
    EXPECT_EQ(Run({"--port", SimPort("other.bin"), "clear-log"}).status, 0);
    EXPECT_NE(ReadBytes(At("other.bin")), before) << "--port wins over KORVEX_PORT";
}

}  // namespace
}  // namespace korvex::test
