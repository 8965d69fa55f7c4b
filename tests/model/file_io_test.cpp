// WriteFileAtomic onto what is not a regular file, with names as long as the
// system allows, and the write check made before a long command.
#include <gtest/gtest.h>

// Devices, FIFOs and the name limit are POSIX matters; Windows has none of them.
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>
#include <random>
#include <string>
#include <vector>

#include "model/file_io.h"

namespace korvex {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// A null device to write to. As root a private node in the test's folder,
// so that a writer that wrongly replaces its target cannot destroy the
// system's /dev/null; others cannot replace /dev/null anyway.
// The same for /dev/full (minor 7), whose every write fails as a full disk.
inline std::filesystem::path PrivateDevice(const std::filesystem::path& dir, const char* name, unsigned minor) {
    const std::filesystem::path system = std::string("/dev/") + name;
    if (::geteuid() != 0) return system;
    const std::filesystem::path node = dir / (std::string(name) + "-device");
    if (::mknod(node.c_str(), S_IFCHR | 0666, makedev(1, minor)) != 0) return system;
    return node;
}
inline std::filesystem::path PrivateNullDevice(const std::filesystem::path& dir) { return PrivateDevice(dir, "null", 3); }

class FileWriting : public testing::Test {
protected:
    void SetUp() override {
        std::random_device seed;
        dir_ = fs::temp_directory_path() / ("korvex-fileio-" + std::to_string(seed()) + std::to_string(seed()));
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    std::vector<fs::path> Entries() const {
        std::vector<fs::path> names;
        for (const auto& entry : fs::directory_iterator(dir_)) names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }
    static Bytes ReadAll(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }

    fs::path dir_;
};

// A device keeps being a device, and a link to it stays a link: the bytes
// go through it instead of a regular file taking its place.
TEST_F(FileWriting, ADeviceOrALinkToOneIsWrittenInPlaceNotReplaced) {
    const fs::path device = PrivateNullDevice(dir_);
    fs::create_symlink(device, dir_ / "null-link");
    for (const fs::path& path : {device, dir_ / "null-link"}) {
        SCOPED_TRACE(path.string());
        const FileOutcome outcome = WriteFileAtomic(path, Bytes{1, 2, 3});
        EXPECT_TRUE(outcome.Ok()) << outcome.reason;
        EXPECT_TRUE(fs::is_character_file(device));
    }
    EXPECT_TRUE(fs::is_symlink(dir_ / "null-link"));
    for (const auto& name : Entries()) EXPECT_TRUE(name == "null-link" || name == "null-device") << name;
}

TEST_F(FileWriting, AFifoReceivesTheBytesAndStaysAFifo) {
    const fs::path fifo = dir_ / "pipe";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0) << std::strerror(errno);
    auto reader = std::async(std::launch::async, [&] { return ReadAll(fifo); });
    const Bytes bytes(100000, 0x5A);  // more than a pipe holds at once
    const FileOutcome outcome = WriteFileAtomic(fifo, bytes);
    EXPECT_TRUE(outcome.Ok()) << outcome.reason;
    EXPECT_EQ(reader.get(), bytes);
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_EQ(Entries(), std::vector<fs::path>{"pipe"});
}

// The temporary name does not grow with the target's: a name of the longest
// length the system allows is written like any other.
TEST_F(FileWriting, NamesUpToTheSystemLimitAreWritten) {
    const long nameMax = ::pathconf(dir_.c_str(), _PC_NAME_MAX);
    ASSERT_GT(nameMax, 30);
    for (const long length : {nameMax - 21, nameMax - 1, nameMax}) {
        SCOPED_TRACE(length);
        const fs::path path = dir_ / std::string(static_cast<std::size_t>(length), 'n');
        const Bytes bytes(static_cast<std::size_t>(length % 97), 0x33);
        const FileOutcome outcome = WriteFileAtomic(path, bytes);
        ASSERT_TRUE(outcome.Ok()) << outcome.reason;
        EXPECT_EQ(ReadAll(path), bytes);
        EXPECT_TRUE(CheckWritable(path).Ok());
        fs::remove(path);
    }
    EXPECT_TRUE(Entries().empty());
}

TEST_F(FileWriting, CheckWritableTellsTheRealCauseAndLeavesNothing) {
    struct Case {
        fs::path path;
        int error;  // 0: writable
    };
    fs::create_directory(dir_ / "folder");
    const Case cases[] = {
        {dir_ / "new.bin", 0},
        {"/dev/null", 0},
        {dir_ / "folder", EISDIR},
        {dir_ / "missing" / "t.txt", ENOENT},
        {"/sys/korvex-trace.txt", EACCES},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.string());
        const FileOutcome outcome = CheckWritable(c.path);
        EXPECT_EQ(outcome.errorCode, c.error) << outcome.reason;
    }
    EXPECT_EQ(Entries(), std::vector<fs::path>{"folder"});
}

TEST_F(FileWriting, AFullDeviceIsReportedAsFullNotAsAnInputOutputError) {
    const fs::path full = PrivateDevice(dir_, "full", 7);
    const FileOutcome outcome = WriteFileAtomic(full, Bytes(10, 1));
    EXPECT_EQ(outcome.failed, FileStep::Write);
    EXPECT_EQ(outcome.errorCode, ENOSPC) << outcome.reason;
    EXPECT_TRUE(fs::is_character_file(full));
}

}  // namespace
}  // namespace korvex

#endif  // _WIN32
