// Where outputs go: devices, FIFOs and standard output written in place, the
// module's memory file held while a command runs and left alone by a read,
// the trace checked before the module is touched, and no temporary file left
// by an interrupted command.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <csignal>
#include <cstring>
#include <fstream>
#include <future>
#include <thread>

#include "cli/cli_runner.h"
#include "cli/module_memory.h"
#include "sim/demo.h"
#include "sim/port_factory.h"
#include "voice/wav_buffer.h"

namespace korvex::test {
namespace {

namespace fs = std::filesystem;

// A null device to write to. As root a private node in the test's folder,
// so that a writer that wrongly replaces its target cannot destroy the
// system's /dev/null; others cannot replace /dev/null anyway.
inline std::filesystem::path PrivateNullDevice(const std::filesystem::path& dir) {
    if (::geteuid() != 0) return "/dev/null";
    const std::filesystem::path node = dir / "null-device";
    if (::mknod(node.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) return "/dev/null";
    return node;
}

class OutputFiles : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        const auto demo = MakeDemoMemory(FullProfile());
        module_.assign(demo.begin(), demo.end());
        WriteBytes(At("m.bin"), module_);
    }
    ino_t Inode(const fs::path& path) const {
        struct stat st {};
        EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
        return st.st_ino;
    }
    std::vector<fs::path> Entries() const {
        std::vector<fs::path> names;
        for (const auto& entry : fs::directory_iterator(Dir())) names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }
    // Waits until the command holds the lock on the module's lock file (its
    // transfer has begun), read from /proc/locks so that the test never takes
    // the lock itself; false when the command ended first.
    bool WaitUntilHeld(const fs::path& memory, const Started& started) {
        const fs::path lockFile = MemoryLockFileOf(memory);
        const std::string pid = " " + std::to_string(started.pid) + " ";
        for (;;) {
            siginfo_t info{};
            if (::waitid(P_PID, static_cast<id_t>(started.pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0 ||
                info.si_pid != 0)
                return false;
            struct stat st {};
            if (::stat(lockFile.c_str(), &st) == 0) {
                const std::string inode = ":" + std::to_string(st.st_ino) + " ";
                std::ifstream locks("/proc/locks");
                for (std::string line; std::getline(locks, line);) {
                    if (line.find(inode) != std::string::npos && line.find(pid) != std::string::npos) return true;
                }
            }
            std::this_thread::yield();
        }
    }
    // Holds the module as another program would: its lock file locked.
    int HoldAsAnotherProgram(const fs::path& memory) {
        const int held = ::open(MemoryLockFileOf(memory).c_str(), O_RDONLY | O_CREAT, 0644);
        EXPECT_GE(held, 0);
        EXPECT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);
        return held;
    }
    std::vector<std::uint8_t> module_;
};

TEST_F(OutputFiles, DevicesAndLinksToThemAreWrittenInPlace) {
    const fs::path device = PrivateNullDevice(Dir());
    fs::create_symlink(device, At("null-link"));
    const std::vector<std::vector<std::string>> commands = {
        {"--port", SimPort("m.bin"), "read-config", "-o", device.string()},
        {"--port", SimPort("m.bin"), "read-log", "--csv", device.string()},
        {"--port", SimPort("m.bin"), "read-config", "-o", At("null-link").string()},
        {"--port", SimPort("m.bin"), "--trace", device.string(), "identify"},
    };
    for (const auto& args : commands) {
        SCOPED_TRACE(args[3] + " " + args[4]);
        const CliResult r = Run(args);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_TRUE(fs::is_character_file(device));
    }
    EXPECT_TRUE(fs::is_symlink(At("null-link")));
}

// A link that names no file yet is followed, as a shell's redirection
// follows it: the file appears where the link points and the link stays.
TEST_F(OutputFiles, ADanglingLinkIsFollowed) {
    fs::create_directory(At("real"));
    fs::create_symlink("real/p.rom", At("link.rom"));
    const CliResult r = Run({"--port", SimPort("m.bin"), "read-config", "-o", At("link.rom").string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::is_symlink(At("link.rom")));
    EXPECT_EQ(ReadBytes(At("real/p.rom")).size(), 1120u);
    // The same for the trace, which is checked before the module is touched.
    fs::create_symlink("real/t.txt", At("trace-link"));
    EXPECT_EQ(Run({"--port", SimPort("m.bin"), "--trace", At("trace-link").string(), "identify"}).status, 0);
    EXPECT_TRUE(fs::is_symlink(At("trace-link")));
    EXPECT_GT(fs::file_size(At("real/t.txt")), 0u);
}

// A file that exists but whose folder takes no new file is not called missing.
TEST_F(OutputFiles, AFileInAFolderThatTakesNoNewFileSaysSo) {
    if (!fs::is_regular_file("/proc/version")) GTEST_SKIP() << "no /proc/version here";
    const CliResult r = Run({"--port", SimPort("m.bin"), "read-config", "-o", "/proc/version"});
    EXPECT_EQ(r.status, 4);
    EXPECT_TRUE(r.err.starts_with("Не удалось заменить файл: /proc/version: в его папке нельзя создать новый файл"))
        << r.err;
}

TEST_F(OutputFiles, AFifoGetsTheProjectAndStaysAFifo) {
    ASSERT_EQ(::mkfifo(At("pipe").c_str(), 0600), 0);
    auto reader = std::async(std::launch::async, [&] { return ReadBytes(At("pipe")); });
    const CliResult r = Run({"--port", SimPort("m.bin"), "read-config", "-o", At("pipe").string()});
    EXPECT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(Run({"--port", SimPort("m.bin"), "read-config", "-o", At("file.rom").string()}).status, 0);
    EXPECT_EQ(reader.get(), ReadBytes(At("file.rom")));
    EXPECT_TRUE(fs::is_fifo(At("pipe")));
}

TEST_F(OutputFiles, DashWritesToStandardOutput) {
    ASSERT_EQ(Run({"--port", SimPort("m.bin"), "read-config", "-o", At("file.rom").string()}).status, 0);
    ASSERT_EQ(Run({"--port", SimPort("m.bin"), "read-log", "--csv", At("log.csv").string()}).status, 0);
    const CliResult rom = Run({"--port", SimPort("m.bin"), "read-config", "-o", "-"});
    EXPECT_EQ(rom.status, 0) << rom.err;
    EXPECT_EQ(std::vector<std::uint8_t>(rom.out.begin(), rom.out.end()), ReadBytes(At("file.rom")));
    const CliResult csv = Run({"--port", SimPort("m.bin"), "read-log", "--csv", "-"});
    EXPECT_EQ(csv.status, 0) << csv.err;
    EXPECT_EQ(csv.out, ReadText(At("log.csv")));
    EXPECT_FALSE(fs::exists(At("-")));
}

// A second program on a module in use is told the port is busy, as it would
// be by a serial port, and changes nothing.
TEST_F(OutputFiles, AModuleInUseIsBusy) {
    ASSERT_EQ(Run({"--port", SimPort("m.bin"), "read-config", "-o", At("p.rom").string()}).status, 0);
    const int held = HoldAsAnotherProgram(At("m.bin"));
    const CliResult busy = Run({"--port", SimPort("m.bin"), "write-config", At("p.rom").string()});
    EXPECT_EQ(busy.status, 2);
    EXPECT_TRUE(busy.err.starts_with("COM порт не открыт! (")) << busy.err;
    EXPECT_NE(busy.err.find(std::strerror(EBUSY)), std::string::npos) << busy.err;
    ::close(held);
    EXPECT_EQ(ReadBytes(At("m.bin")), module_);
    EXPECT_EQ(Run({"--port", SimPort("m.bin"), "write-config", At("p.rom").string()}).status, 0);
}

// The module is held before its memory file exists: two programs never both
// create it and both report their write as done.
TEST_F(OutputFiles, AModuleWhoseFileDoesNotExistYetIsHeldToo) {
    ASSERT_EQ(Run({"--port", SimPort("m.bin"), "read-config", "-o", At("p.rom").string()}).status, 0);
    for (const std::string& port : {SimPort("new.bin"), std::string("demo")}) {
        SCOPED_TRACE(port);
        const fs::path memory = port == "demo" ? Dir() / "data" / "korvex" / "demo-full.bin" : At("new.bin");
        fs::create_directories(memory.parent_path());
        const int held = HoldAsAnotherProgram(memory);
        const CliResult busy = Run({"--port", port, "write-config", At("p.rom").string()});
        EXPECT_EQ(busy.status, 2) << busy.err;
        EXPECT_NE(busy.err.find(std::strerror(EBUSY)), std::string::npos) << busy.err;
        EXPECT_FALSE(fs::exists(memory)) << "created under another program's hold";
        ::close(held);
    }
}

// A memory file renamed over while a command holds the module does not let
// a second command in, whose write the first one's save would then erase.
TEST_F(OutputFiles, AMemoryFileRenamedOverStaysHeld) {
    ASSERT_EQ(Run({"--port", SimPort("m.bin"), "read-config", "-o", At("p.rom").string()}).status, 0);
    const auto first = Start({"--port", SimPort("m.bin"), "--sim-port", "ftdi", "--sim-pace", "real", "clear-log"});
    ASSERT_TRUE(WaitUntilHeld(At("m.bin"), first));
    WriteBytes(At("copy.bin"), module_);
    fs::rename(At("copy.bin"), At("m.bin"));
    const CliResult second = Run({"--port", SimPort("m.bin"), "write-config", At("p.rom").string()});
    EXPECT_EQ(second.status, 2) << second.err;
    EXPECT_NE(second.err.find(std::strerror(EBUSY)), std::string::npos) << second.err;
    ::kill(first.pid, SIGTERM);  // no need to sit through the first one's transfer
    EXPECT_EQ(Wait(first).signal, SIGTERM);
    EXPECT_FALSE(fs::exists(MemoryLockFileOf(At("m.bin")))) << "the lock file goes with the hold";
    EXPECT_EQ(Run({"--port", SimPort("m.bin"), "write-config", At("p.rom").string()}).status, 0);
}

TEST_F(OutputFiles, ACommandThatOnlyReadsLeavesTheMemoryFileAlone) {
    const ino_t before = Inode(At("m.bin"));
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"identify"}, {"read-config", "-o", At("p.rom").string()}, {"read-log"},
          {"read-sound", "-d", At("sounds").string()}}) {
        std::vector<std::string> args{"--port", SimPort("m.bin")};
        args.insert(args.end(), command.begin(), command.end());
        SCOPED_TRACE(command[0]);
        EXPECT_EQ(Run(args).status, 0);
        EXPECT_EQ(Inode(At("m.bin")), before) << "the file was rewritten";
    }
    EXPECT_EQ(Run({"--port", SimPort("m.bin"), "clear-log"}).status, 0);
    EXPECT_NE(Inode(At("m.bin")), before) << "a change is saved";
}

// A trace that cannot be written stops the command before the module is
// touched, with the system's reason (here the file size limit).
TEST_F(OutputFiles, ATraceThatCannotBeWrittenStopsBeforeTheModuleIsTouched) {
    ASSERT_EQ(Run({"--port", SimPort("m.bin"), "read-config", "-o", At("p.rom").string()}).status, 0);
    std::vector<std::uint8_t> changed = module_;
    changed[100] ^= 0xFF;  // something for write-config to change
    WriteBytes(At("m.bin"), changed);

    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 2000;  // room for the messages, not for a trace
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const CliResult r =
        Run({"--port", SimPort("m.bin"), "--trace", At("t.txt").string(), "write-config", At("p.rom").string()});
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(r.status, 4);
    EXPECT_TRUE(r.err.starts_with("Не удалось записать трассировку: " + At("t.txt").string() + ": " +
                                  std::strerror(EFBIG)))
        << r.err;
    EXPECT_EQ(ReadBytes(At("m.bin")), changed);
    EXPECT_FALSE(fs::exists(At("t.txt")));
}

// Signalled while it writes the module (at a real cable's pace, so the
// transfer outlasts the signal however fast the machine), a command ends by
// the signal, leaves no temporary file and leaves the memory file as it was.
// Ctrl+C (or SIGTERM) once the module is held stops the transfer at its
// next safe point, not at the end: the module keeps what was written and is
// said to hold part of the new data, the trace is not written, no temporary
// file is left, and the program ends by the signal.
TEST_F(OutputFiles, AnInterruptedCommandStopsAndEndsByTheSignal) {
    std::vector<std::uint8_t> wav(kWavHeaderSize + 150000);
    WriteWavHeader(wav, 22050, 150000);
    for (std::size_t i = kWavHeaderSize; i < wav.size(); ++i) wav[i] = static_cast<std::uint8_t>(i * 37 | 1);
    WriteBytes(At("a.wav"), wav);
    const auto before = Entries();
    for (const int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal);
        WriteBytes(At("m.bin"), module_);
        const auto started =
            Start({"--port", SimPort("m.bin"), "--sim-port", "ch340", "--sim-pace", "real", "--trace",
                   At("t.txt").string(), "write-sound", "--fresh", "--slot", "1", At("a.wav").string()});
        ASSERT_TRUE(WaitUntilHeld(At("m.bin"), started));
        ::kill(started.pid, signal);
        const CliResult r = Wait(started);
        EXPECT_EQ(r.signal, signal) << "status " << r.status << ": " << r.err;
        EXPECT_NE(r.err.find("Передача остановлена"), std::string::npos) << r.err;
        EXPECT_EQ(Entries(), before);  // no trace, no temporary file, no lock file
        const auto memory = ReadBytes(At("m.bin"));
        ASSERT_EQ(memory.size(), module_.size());
        std::size_t changedPages = 0;
        for (std::size_t page = 0; page < memory.size() / 64; ++page) {
            const bool same =
                std::equal(memory.begin() + page * 64, memory.begin() + page * 64 + 64, module_.begin() + page * 64);
            if (!same) ++changedPages;
        }
        if (changedPages > 0) EXPECT_NE(r.err.find("часть новых данных"), std::string::npos) << r.err;
        // Far fewer than the sound's 2300 pages: the stop came at the next page.
        EXPECT_LT(changedPages, 200u);
    }
}

}  // namespace
}  // namespace korvex::test
