#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace korvex::test {

// What one run of korvex-cli came to.
struct CliResult {
    int status = -1;  // the exit status; -1 when the program did not exit by itself (a crash)
    std::string out;  // stdout
    std::string err;  // stderr
    int signal = 0;   // the signal that ended it, 0 when it exited
};

// A private folder per test, so tests run in parallel without meeting. The
// program runs with HOME and XDG_DATA_HOME inside it, so its demo module
// lives there too.
class CliTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs the program with these arguments, in the test's folder.
    CliResult Run(const std::vector<std::string>& args);

    // The same in two steps, for a test that acts while the program runs.
    struct Started {
        int pid;
        int n;
    };
    Started Start(const std::vector<std::string>& args);
    CliResult Wait(Started started);

    // Sets a variable in the program's environment for the runs that follow.
    // KORVEX_PORT, LC_ALL, LC_MESSAGES and LANG are never taken from the
    // test's own environment.
    void SetEnvironment(const std::string& name, const std::string& value) { environment_[name] = value; }

    // Standard output of the runs that follow goes to this file (a device such
    // as /dev/full) instead of being kept; empty: kept in CliResult::out.
    void SetStandardOutput(const std::filesystem::path& path) { stdout_ = path; }

    std::filesystem::path Dir() const { return dir_; }
    std::filesystem::path At(const std::string& name) const { return dir_ / name; }
    // "sim:<folder>/<name>"
    std::string SimPort(const std::string& name) const { return "sim:" + At(name).string(); }

    static std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path);
    static void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);
    static std::string ReadText(const std::filesystem::path& path);
    static void WriteText(const std::filesystem::path& path, const std::string& text);

private:
    std::filesystem::path dir_;
    int runs_ = 0;
    std::map<std::string, std::string> environment_;
    std::filesystem::path stdout_;
};

}  // namespace korvex::test
