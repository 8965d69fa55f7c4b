#include <gtest/gtest.h>

#include <stdlib.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>

#include "link/path_text.h"

#include "link/device_link.h"
#include "sim/demo.h"
#include "sim/port_factory.h"

namespace korvex {
namespace {

namespace fs = std::filesystem;

class PortFactory : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device seed;
        dir_ = fs::temp_directory_path() / ("korvex-ports-" + std::to_string(seed()) + std::to_string(seed()));
        ASSERT_TRUE(fs::create_directory(dir_));
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }
    static std::vector<std::uint8_t> Bytes(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    fs::path dir_;
};

TEST_F(PortFactory, SimulatedPortCreatesABlankModuleAndSavesItBack) {
    const fs::path file = dir_ / "m.bin";
    PortOpening opening = OpenModulePort("sim:" + file.string(), CompactProfile());
    ASSERT_TRUE(opening.Ok()) << opening.reason;
    EXPECT_EQ(Bytes(file), std::vector<std::uint8_t>(kMemorySize, 0xFF));  // created at once

    ModulePort& port = *opening.port;
    ASSERT_NE(port.Simulated(), nullptr);
    TwoWireBus bus(port.Lines(), port.Sleeper());
    EXPECT_TRUE(IdentifyDevice(bus, CompactProfile()).Ok());
    EXPECT_TRUE(port.SaveBack().Ok());
    const auto saved = Bytes(file);
    EXPECT_TRUE(std::equal(CompactProfile().marker.begin(), CompactProfile().marker.end(), saved.begin()));

    // Held while open, though the save renamed a new file over it.
    const PortOpening busy = OpenModulePort("sim:" + file.string(), CompactProfile());
    EXPECT_EQ(busy.failure, PortOpening::Failure::Port) << busy.reason;

    // The next opening finds what was saved.
    opening.port.reset();
    EXPECT_FALSE(fs::exists(MemoryLockFileOf(file)));
    PortOpening again = OpenModulePort("sim:" + file.string(), CompactProfile());
    ASSERT_TRUE(again.Ok());
    EXPECT_TRUE(std::equal(saved.begin(), saved.end(), again.port->Simulated()->Memory().begin()));
}

TEST_F(PortFactory, SimulatedWaitsPassInVirtualTime) {
    PortOpening opening = OpenModulePort("sim:" + (dir_ / "m.bin").string(), FullProfile());
    ASSERT_TRUE(opening.Ok());
    SimulatedModule& module = *opening.port->Simulated();
    const std::uint64_t before = module.NowNs();
    opening.port->Sleeper()(std::chrono::milliseconds(70));
    EXPECT_EQ(module.NowNs() - before, 70'000'000u);
}

#ifdef _WIN32
TEST_F(PortFactory, DemoFileIsCreatedWithTheDemoContent) {
    // A user named in Cyrillic: the folder must keep every letter.
    const fs::path local = dir_ / PathFromUtf8("Пользователь") / "AppData" / "Local";
    ASSERT_EQ(_wputenv_s(L"LOCALAPPDATA", local.c_str()), 0);
    EXPECT_EQ(DemoFilePath(FullProfile()), local / "korvex" / "demo-full.bin");
    EXPECT_EQ(DemoFilePath(CompactProfile()), local / "korvex" / "demo-compact.bin");
    PortOpening opening = OpenModulePort(std::string(kDemoPortName), FullProfile());
    ASSERT_TRUE(opening.Ok()) << opening.reason;
    const auto demo = MakeDemoMemory(FullProfile());
    EXPECT_EQ(Bytes(DemoFilePath(FullProfile())), std::vector<std::uint8_t>(demo.begin(), demo.end()));

    // Without LOCALAPPDATA: the profile's own AppData\Local.
    ASSERT_EQ(_wputenv_s(L"LOCALAPPDATA", L""), 0);
    ASSERT_EQ(_wputenv_s(L"USERPROFILE", (dir_ / PathFromUtf8("Пользователь")).c_str()), 0);
    EXPECT_EQ(DemoFilePath(FullProfile()), local / "korvex" / "demo-full.bin");
    EXPECT_EQ(DemoPortLabel(FullProfile()), "Демо-модуль");
    EXPECT_EQ(DemoPortLabel(CompactProfile()), "Demo module");
}
#else
TEST_F(PortFactory, DemoFileIsCreatedWithTheDemoContent) {
    ASSERT_EQ(::setenv("XDG_DATA_HOME", dir_.c_str(), 1), 0);
    EXPECT_EQ(DemoFilePath(FullProfile()), dir_ / "korvex" / "demo-full.bin");
    EXPECT_EQ(DemoFilePath(CompactProfile()), dir_ / "korvex" / "demo-compact.bin");
    PortOpening opening = OpenModulePort(std::string(kDemoPortName), FullProfile());
    ASSERT_TRUE(opening.Ok()) << opening.reason;
    const auto demo = MakeDemoMemory(FullProfile());
    EXPECT_EQ(Bytes(DemoFilePath(FullProfile())), std::vector<std::uint8_t>(demo.begin(), demo.end()));

    // A relative XDG_DATA_HOME is ignored, as the convention says.
    ASSERT_EQ(::setenv("XDG_DATA_HOME", "relative", 1), 0);
    ASSERT_EQ(::setenv("HOME", dir_.c_str(), 1), 0);
    EXPECT_EQ(DemoFilePath(FullProfile()), dir_ / ".local" / "share" / "korvex" / "demo-full.bin");
    EXPECT_EQ(DemoPortLabel(FullProfile()), "Демо-модуль");
    EXPECT_EQ(DemoPortLabel(CompactProfile()), "Demo module");
}
#endif

TEST_F(PortFactory, SimulatedPortNamedInUtf8KeepsItsFile) {
    const std::string name = "sim:" + PathToUtf8(dir_ / PathFromUtf8("Папка")) + "/модуль.bin";
    fs::create_directory(dir_ / PathFromUtf8("Папка"));
    PortOpening opening = OpenModulePort(name, FullProfile());
    ASSERT_TRUE(opening.Ok()) << opening.reason;
    EXPECT_EQ(opening.file, dir_ / PathFromUtf8("Папка") / PathFromUtf8("модуль.bin"));
    EXPECT_EQ(Bytes(opening.file).size(), kMemorySize);
}

TEST_F(PortFactory, FailuresSayWhatFailed) {
    std::ofstream(dir_ / "short.bin", std::ios::binary) << "too short";
    fs::create_directory(dir_ / "folder");
    struct Case {
        std::string name;
        PortOpening::Failure failure;
    };
    const Case cases[] = {
        {"sim:" + (dir_ / "short.bin").string(), PortOpening::Failure::FileSize},
        {"sim:" + (dir_ / "folder").string(), PortOpening::Failure::FileRead},
        {"sim:" + (dir_ / "none" / "m.bin").string(), PortOpening::Failure::FileCreate},
        {"sim:", PortOpening::Failure::FileCreate},
        {(dir_ / "no-such-tty").string(), PortOpening::Failure::Port},
    };
    for (const Case& c : cases) {
        const PortOpening opening = OpenModulePort(c.name, FullProfile());
        EXPECT_EQ(opening.failure, c.failure) << c.name;
        EXPECT_EQ(opening.port, nullptr) << c.name;
    }
    EXPECT_EQ(OpenModulePort("sim:" + (dir_ / "short.bin").string(), FullProfile()).size, 9u);
    EXPECT_EQ(Bytes(dir_ / "short.bin").size(), 9u);  // left as it was
}

}  // namespace
}  // namespace korvex
