// identify, read-config and write-config against simulated modules, with
// injected faults and traces.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <algorithm>
#include <functional>
#include <map>
#include <sstream>

#include "cli/cli_runner.h"
#include "cli/module_memory.h"
#include "link/device_link.h"
#include "model/config_settings.h"
#include "model/image_codec.h"
#include "link/line_probe.h"
#include "sim/demo.h"
#include "sim/simulated_module.h"
#include "voice/wav_buffer.h"

namespace korvex::test {
namespace {

using Counts = std::map<std::string, std::uint64_t>;

Counts TraceCounts(const std::string& trace) {
    Counts counts;
    std::istringstream lines(trace);
    for (std::string line; std::getline(lines, line);) ++counts[line];
    return counts;
}

// What the probe and the bus itself do for an operation on a module with this memory.
Counts BusCounts(const std::vector<std::uint8_t>& memory, const std::function<void(TwoWireBus&)>& operation) {
    SimulatedModule module;
    std::copy(memory.begin(), memory.end(), module.Memory().begin());
    TwoWireBus bus(module, module.Sleeper());
    RecoverBus(module);  // every opened port is brought to rest and probed first
    ProbeLines(module, module.Clock());
    operation(bus);
    const auto& c = module.GetCounters();
    Counts counts{{"SetDtr", c.setDtr}, {"ClearDtr", c.clearDtr}, {"SetRts", c.setRts},
                  {"ClearRts", c.clearRts}, {"ReadModemStatus", c.readModemStatus}};
    std::erase_if(counts, [](const auto& kv) { return kv.second == 0; });
    return counts;
}

std::uint64_t Total(const Counts& counts) {
    std::uint64_t total = 0;
    for (const auto& [name, n] : counts) total += n;
    return total;
}

class DeviceCommands : public CliTest {};

TEST_F(DeviceCommands, IdentifyPrintsTheProgramVersionOfAFullModule) {
    WriteBytes(At("m.bin"), PreparedMemory(FullProfile()));
    const CliResult r = Run({"--port", SimPort("m.bin"), "identify"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "1.04\n");
    EXPECT_EQ(r.err, "");
}

TEST_F(DeviceCommands, BlankFullModuleGetsItsMarkerAndIsAnUnknownType) {
    // First contact: no file yet, so the module is blank.
    const CliResult first = Run({"--port", SimPort("m.bin"), "--trace", At("t1").string(), "identify"});
    EXPECT_EQ(first.status, 2);
    EXPECT_EQ(first.err, "Неизвестный тип устройства\n");
    std::vector<std::uint8_t> expected = BlankMemory();
    std::copy(FullProfile().marker.begin(), FullProfile().marker.end(), expected.begin());
    EXPECT_EQ(ReadBytes(At("m.bin")), expected);  // the marker and nothing else was written

    // Second contact: the marker is found at once, so no second marker read.
    const CliResult second = Run({"--port", SimPort("m.bin"), "--trace", At("t2").string(), "identify"});
    EXPECT_EQ(second.status, 2);
    EXPECT_EQ(second.err, "Неизвестный тип устройства\n");
    EXPECT_EQ(ReadBytes(At("m.bin")), expected);
    EXPECT_EQ(TraceCounts(ReadText(At("t1"))), BusCounts(BlankMemory(), [](TwoWireBus& bus) {
                  EXPECT_EQ(CheckModule(bus, FullProfile()).result, LinkResult::UnknownType);
              }));
    EXPECT_EQ(TraceCounts(ReadText(At("t2"))), BusCounts(expected, [](TwoWireBus& bus) {
                  EXPECT_EQ(CheckModule(bus, FullProfile()).result, LinkResult::UnknownType);
              }));
}

TEST_F(DeviceCommands, BlankCompactModuleIsReadyAfterItsFirstContact) {
    const CliResult r = Run({"--compact", "--port", SimPort("c.bin"), "identify"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");  // the compact module shows no version
    const auto memory = ReadBytes(At("c.bin"));
    EXPECT_EQ(memory, PreparedMemory(CompactProfile()));
}

TEST_F(DeviceCommands, TraceOfIdentifyMatchesTheBus) {
    const auto memory = PreparedMemory(FullProfile());
    WriteBytes(At("m.bin"), memory);
    const CliResult r = Run({"--port", SimPort("m.bin"), "--trace", At("trace.txt").string(), "identify"});
    ASSERT_EQ(r.status, 0) << r.err;
    const Counts traced = TraceCounts(ReadText(At("trace.txt")));
    EXPECT_EQ(traced, BusCounts(memory, [](TwoWireBus& bus) {
                  EXPECT_TRUE(CheckModule(bus, FullProfile()).Ok());
                  std::uint8_t version[4];
                  bus.ReadSequential(16, version);
              }));
    // The bus brought to rest (23 sets: the clock low first), the probe (the clock set low, 25 data
    // changes each seen by one read, both lines released), then three sequential reads (marker 16 bytes,
    // signature 4, version 4), each 437 line calls plus 74 per byte.
    EXPECT_EQ(Total(traced), 23 + (1 + 25 * 2 + 2) + 3 * 437u + 74u * (16 + 4 + 4));
    EXPECT_FALSE(std::filesystem::exists(At("trace.txt").string() + ".tmp"));
}

struct FaultCase {
    const char* name;
    std::vector<std::string> args;
    int status;
    std::string err;
};
void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }

class DeviceFaults : public DeviceCommands, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(DeviceFaults, EndWithTheirStatusAndMessage) {
    const FaultCase& c = GetParam();
    WriteBytes(At("m.bin"), PreparedMemory(FullProfile()));
    WriteBytes(At("c.bin"), PreparedMemory(CompactProfile()));
    WriteBytes(At("full.rom"), std::vector<std::uint8_t>(1120, 0x5A));
    WriteBytes(At("compact.rom"), std::vector<std::uint8_t>(768, 0x5A));
    std::vector<std::string> args;
    for (const std::string& a : c.args) {
        // Names of the prepared files stand for their paths.
        if (a == "m.bin" || a == "c.bin") args.push_back(SimPort(a));
        else if (a.ends_with(".rom")) args.push_back(At(a).string());
        else args.push_back(a);
    }
    const CliResult r = Run(args);
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_EQ(r.err, c.err);
}

INSTANTIATE_TEST_SUITE_P(
    Cli, DeviceFaults,
    ::testing::Values(
        FaultCase{"NoModuleFull",
                  {"--port", "m.bin", "--sim-fault", "absent", "identify"},
                  2,
                  "Устройство не подключено\n"},
        FaultCase{"NoModuleCompact",
                  {"--compact", "--port", "c.bin", "--sim-fault", "absent", "identify"},
                  2,
                  "Device is not connected!\n"},
        FaultCase{"CablePulled",
                  {"--port", "m.bin", "--sim-fault", "pull:500", "read-config", "-o", "out.rom"},
                  2,
                  std::string("Ошибка порта: ") + std::strerror(EIO) + "\n"},
        // A write cut short: the module may hold part of it, and the user is told to repeat it.
        FaultCase{"CablePulledMidWrite",
                  {"--port", "m.bin", "--sim-fault", "pull:20000", "write-config", "full.rom"},
                  2,
                  std::string("Ошибка порта: ") + std::strerror(EIO) +
                      "\nМодуль может теперь хранить часть новых данных; повторите запись.\n"},
        // Pulled while the module is still being checked: nothing was written.
        FaultCase{"CablePulledBeforeTheWrite",
                  {"--port", "m.bin", "--sim-fault", "pull:500", "write-config", "full.rom"},
                  2,
                  std::string("Ошибка порта: ") + std::strerror(EIO) + "\n"},
        FaultCase{"CablePulledBeforeTheLogIsErased",
                  {"--port", "m.bin", "--sim-fault", "pull:500", "clear-log"},
                  2,
                  std::string("Ошибка порта: ") + std::strerror(EIO) + "\n"},
        FaultCase{"CablePulledMidWriteCompact",
                  {"--compact", "--port", "c.bin", "--sim-fault", "pull:20000", "write-config", "compact.rom"},
                  2,
                  std::string("Port error: ") + std::strerror(EIO) +
                      "\nThe module may now hold part of the new data; repeat the write.\n"},
        // Through the bit-bang cable: a device gone mid-transfer is the same port failure.
        FaultCase{"CablePulledBitBang",
                  {"--port", "m.bin", "--sim-port", "ft232r-bitbang", "--sim-fault", "pull:5000", "read-config", "-o",
                   "out.rom"},
                  2,
                  std::string("Ошибка порта: ") + std::strerror(EIO) + "\n"},
        FaultCase{"CablePulledMidWriteBitBang",
                  {"--port", "m.bin", "--bus", "fast", "--sim-port", "ft232r-bitbang", "--sim-fault", "pull:20000",
                   "write-config", "full.rom"},
                  2,
                  std::string("Ошибка порта: ") + std::strerror(EIO) +
                      "\nМодуль может теперь хранить часть новых данных; повторите запись.\n"},
        // The fifth byte stored is at 24 + 4: the write starts after the signature.
        FaultCase{"FlippedWrite",
                  {"--port", "m.bin", "--sim-fault", "flip-write:5", "write-config", "full.rom"},
                  3,
                  "Ошибка записи! (адрес 28)\n"},
        FaultCase{"WriteProtected",
                  {"--port", "m.bin", "--sim-fault", "write-protect", "write-config", "full.rom"},
                  3,
                  "Ошибка записи! (адрес 24)\n"},
        // The compact write covers the whole image, the marker included.
        FaultCase{"FlippedWriteCompact",
                  {"--compact", "--port", "c.bin", "--sim-fault", "flip-write:70", "write-config", "compact.rom"},
                  3,
                  "Write error! (address 69)\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// First contact writes a marker only into a blank memory: the other
// program's module and a damaged marker are told, by every command that
// checks the module, and the memory is left as it was.
TEST_F(DeviceCommands, EveryCommandLeavesAnotherProgramsOrADamagedMarkerAlone) {
    std::vector<std::uint8_t> damagedFull = PreparedMemory(FullProfile()),
                              damagedCompact = PreparedMemory(CompactProfile());
    damagedFull[0] = 'X';
    damagedCompact[40] = 'X';
    struct Case {
        const char* name;
        std::vector<std::uint8_t> memory;
        bool compact;  // the program run on it
        std::string err;
    };
    const Case cases[] = {
        {"compact program, full module", PreparedMemory(FullProfile()), true,
         std::string(CompactProfile().texts.otherProgram) + "\n"},
        {"full program, compact module", PreparedMemory(CompactProfile()), false,
         std::string(FullProfile().texts.otherProgram) + "\n"},
        {"full program, damaged marker", damagedFull, false,
         std::string(FullProfile().texts.damagedMarker) + "\n" +
             "Записать метку: korvex-cli identify --write-marker (байты 0–15 модуля будут заменены).\n"},
        {"compact program, damaged marker", damagedCompact, true,
         std::string(CompactProfile().texts.damagedMarker) + "\n" +
             "To write the marker: korvex-cli --compact identify --write-marker (bytes 0 to 63 of the module are "
             "replaced).\n"},
    };
    for (const Case& c : cases) {
        const Profile& profile = c.compact ? CompactProfile() : FullProfile();
        WriteBytes(At("project.rom"), std::vector<std::uint8_t>(profile.imageSize, 0x5A));
        std::vector<std::uint8_t> quiet(kWavHeaderSize + 640, 128);  // silence in the slot's own format
        WriteWavHeader(quiet, 22050, 640);
        WriteBytes(At("quiet.wav"), quiet);
        std::vector<std::vector<std::string>> commands = {
            {"identify"},
            {"read-config", "-o", At("out.rom").string()},
            {"diff", At("project.rom").string()},
            {"write-config", At("project.rom").string()},
            {"read-sound", "-d", At("").string()},
            {"write-sound", "--fresh", "--slot", "1", At("quiet.wav").string()},
        };
        if (!c.compact) {
            commands.push_back({"read-log"});
            commands.push_back({"clear-log"});
        }
        for (const auto& command : commands) {
            SCOPED_TRACE(std::string(c.name) + ": " + command[0]);
            WriteBytes(At("m.bin"), c.memory);
            std::vector<std::string> args;
            if (c.compact) args.push_back("--compact");
            args.insert(args.end(), {"--port", SimPort("m.bin")});
            args.insert(args.end(), command.begin(), command.end());
            const CliResult r = Run(args);
            EXPECT_EQ(r.status, 2);
            EXPECT_EQ(r.err, c.err);
            EXPECT_EQ(ReadBytes(At("m.bin")), c.memory);
            EXPECT_FALSE(std::filesystem::exists(At("out.rom")));
        }
    }
}

// identify --write-marker writes over a damaged marker, and only there:
// never over the other program's, and a blank module needs no leave.
TEST_F(DeviceCommands, IdentifyWritesTheMarkerOverADamagedOneWhenAsked) {
    std::vector<std::uint8_t> damaged = PreparedMemory(FullProfile());
    damaged[5] = 0x00;
    WriteBytes(At("m.bin"), damaged);
    const CliResult written = Run({"--port", SimPort("m.bin"), "identify", "--write-marker"});
    EXPECT_EQ(written.status, 0) << written.err;
    EXPECT_EQ(written.out, "1.04\n");
    EXPECT_EQ(ReadBytes(At("m.bin")), PreparedMemory(FullProfile()));  // the marker and nothing else
    const CliResult again = Run({"--port", SimPort("m.bin"), "identify"});
    EXPECT_EQ(again.status, 0) << again.err;

    WriteBytes(At("c.bin"), PreparedMemory(FullProfile()));
    const CliResult refused = Run({"--compact", "--port", SimPort("c.bin"), "identify", "--write-marker"});
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.err, std::string(CompactProfile().texts.otherProgram) + "\n");
    EXPECT_EQ(ReadBytes(At("c.bin")), PreparedMemory(FullProfile()));
}

TEST_F(DeviceCommands, MismatchKeepsWhatWasWrittenInTheModule) {
    WriteBytes(At("m.bin"), PreparedMemory(FullProfile()));
    WriteBytes(At("in.rom"), std::vector<std::uint8_t>(1120, 0x00));
    const CliResult r = Run({"--port", SimPort("m.bin"), "--sim-fault", "flip-write:1", "write-config", At("in.rom")});
    ASSERT_EQ(r.status, 3);
    const auto memory = ReadBytes(At("m.bin"));
    EXPECT_EQ(memory[24], 0x01);  // bit 0 flipped
    EXPECT_EQ(memory[25], 0x00);
}

TEST_F(DeviceCommands, MissingPortIsAPortFailure) {
    const CliResult r = Run({"--port", At("no-such-tty").string(), "identify"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.starts_with("COM порт не открыт! (")) << r.err;
    EXPECT_NE(r.err.find(std::strerror(ENOENT)), std::string::npos) << r.err;
}

TEST_F(DeviceCommands, PortWithoutModemLinesFailsOnTheFirstLineCall) {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    const std::string slave = ::ptsname(master);
    const CliResult r = Run({"--compact", "--port", slave, "identify"});
    ::close(master);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, std::string("Port error: ") + std::strerror(ENOTTY) + "\n");
}

TEST_F(DeviceCommands, FailedReadLeavesNoOutputFile) {
    WriteBytes(At("m.bin"), PreparedMemory(FullProfile()));
    WriteText(At("old.rom"), "old contents");
    const CliResult missing =
        Run({"--port", SimPort("m.bin"), "--sim-fault", "absent", "read-config", "-o", At("new.rom")});
    EXPECT_EQ(missing.status, 2);
    EXPECT_FALSE(std::filesystem::exists(At("new.rom")));
    const CliResult pulled =
        Run({"--port", SimPort("m.bin"), "--sim-fault", "pull:20000", "read-config", "-o", At("old.rom")});
    EXPECT_EQ(pulled.status, 2);
    EXPECT_EQ(ReadText(At("old.rom")), "old contents");
    // Nothing but the two files and the module is left behind.
    int entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(Dir())) entries += e.is_regular_file();
    EXPECT_EQ(entries, 2);
}

TEST_F(DeviceCommands, DemoModuleLivesInTheUsersDataFolder) {
    const CliResult full = Run({"--port", "demo", "identify"});
    EXPECT_EQ(full.status, 0) << full.err;
    EXPECT_EQ(full.out, "1.04\n");
    const auto demoFull = ReadBytes(Dir() / "data" / "korvex" / "demo-full.bin");
    const auto made = MakeDemoMemory(FullProfile());
    EXPECT_EQ(demoFull, std::vector<std::uint8_t>(made.begin(), made.end()));

    const CliResult compact = Run({"--compact", "--port", "demo", "identify"});
    EXPECT_EQ(compact.status, 0) << compact.err;
    EXPECT_EQ(std::filesystem::file_size(Dir() / "data" / "korvex" / "demo-compact.bin"), kMemorySize);

    // The demo keeps what was written to it.
    ASSERT_EQ(Run({"--port", "demo", "clear-log"}).status, 0);
    const CliResult log = Run({"--port", "demo", "read-log"});
    EXPECT_EQ(std::count(log.out.begin(), log.out.end(), '\n'), 1) << log.out;  // the header only
}

// Bytes 1116..1119 hold the date of packing, which is today's for a read
// or a write.
std::vector<std::uint8_t> WithoutDate(std::vector<std::uint8_t> image) {
    if (image.size() >= 1120) std::fill(image.begin() + 1116, image.begin() + 1120, 0);
    return image;
}

TEST_F(DeviceCommands, ReadConfigSavesWhatTheProgramWouldSave) {
    // An erased configuration area does not survive decoding unchanged, so
    // the file is the rebuilt image, not the raw bytes.
    const auto memory = PreparedMemory(FullProfile());
    WriteBytes(At("m.bin"), memory);
    const CliResult r = Run({"--port", SimPort("m.bin"), "read-config", "-o", At("out.rom")});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::uint8_t> readImage(memory.begin(), memory.begin() + 1120);
    ConfigSettings settings;
    UnpackImage(FullProfile(), readImage, settings);
    std::vector<std::uint8_t> saved(1120);
    PackImage(FullProfile(), settings, readImage, saved, Date{2000, 1, 1});
    const auto out = ReadBytes(At("out.rom"));
    EXPECT_EQ(WithoutDate(out), WithoutDate(saved));
    EXPECT_NE(out, readImage);
    EXPECT_EQ(ReadBytes(At("m.bin")), memory);  // a read changes nothing
}

TEST_F(DeviceCommands, ProgramThenBackUpGivesTheProjectBack) {
    for (const Profile* profile : {&FullProfile(), &CompactProfile()}) {
        SCOPED_TRACE(std::string(profile->name));
        const bool compact = profile->kind == ModuleKind::Compact;
        const auto memory = PreparedMemory(*profile);
        WriteBytes(At("m.bin"), memory);
        WriteText(At("site.json"), R"({"phones": ["+79161234567", "-", "-", "-", "-", "-", "-", "-"],
                                       "pgmPassword": "1234", "autodialCycles": 5, "testSmsCode": 136})");
        std::vector<std::string> pre;
        if (compact) pre.push_back("--compact");
        auto run = [&](std::vector<std::string> args) {
            args.insert(args.begin(), pre.begin(), pre.end());
            return Run(args);
        };
        ASSERT_EQ(run({"build", At("site.json"), "-o", At("site.rom"), "--date", "2020-01-02"}).status, 0);
        const CliResult written = run({"--port", SimPort("m.bin"), "write-config", At("site.rom")});
        ASSERT_EQ(written.status, 0) << written.err;
        const CliResult read = run({"--port", SimPort("m.bin"), "read-config", "-o", At("back.rom")});
        ASSERT_EQ(read.status, 0) << read.err;

        auto site = ReadBytes(At("site.rom"));
        const auto back = ReadBytes(At("back.rom"));
        const auto module = ReadBytes(At("m.bin"));
        ASSERT_EQ(back.size(), profile->imageSize);
        // The module keeps its own version and signature; the rest is the project.
        if (!compact) std::copy(memory.begin() + 16, memory.begin() + 24, site.begin() + 16);
        EXPECT_EQ(WithoutDate(back), WithoutDate(site));
        EXPECT_EQ(WithoutDate(std::vector<std::uint8_t>(module.begin(), module.begin() + profile->imageSize)),
                  WithoutDate(site));
        EXPECT_TRUE(std::equal(module.begin() + profile->imageSize, module.end(), memory.begin() + profile->imageSize));
    }
}

}  // namespace
}  // namespace korvex::test
