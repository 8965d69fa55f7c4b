#include "cli/cli_runner.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

extern char** environ;

namespace korvex::test {

void CliTest::SetUp() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/korvex-cli-test-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr) << std::strerror(errno);
    dir_ = pattern;
    std::filesystem::create_directories(dir_ / "home");
    std::filesystem::create_directories(dir_ / "data");
}

void CliTest::TearDown() {
    std::error_code ignored;
    if (!dir_.empty()) std::filesystem::remove_all(dir_, ignored);
}

CliResult CliTest::Run(const std::vector<std::string>& args) { return Wait(Start(args)); }

CliTest::Started CliTest::Start(const std::vector<std::string>& args) {
    const int n = ++runs_;
    const std::string outPath = (dir_ / (".out" + std::to_string(n))).string();
    const std::string errPath = (dir_ / (".err" + std::to_string(n))).string();

    std::vector<std::string> argStore{KORVEX_CLI_BINARY};
    argStore.insert(argStore.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : argStore) argv.push_back(a.data());
    argv.push_back(nullptr);

    // The parent's environment, with the user's folders moved into the test's
    // and its locale left out: the messages' language is the program's own
    // unless a test sets one.
    std::vector<std::string> envStore;
    for (char** e = environ; *e; ++e) {
        const std::string_view entry(*e);
        if (entry.starts_with("HOME=") || entry.starts_with("XDG_DATA_HOME=") || entry.starts_with("KORVEX_PORT=") ||
            entry.starts_with("LC_ALL=") || entry.starts_with("LC_MESSAGES=") || entry.starts_with("LANG="))
            continue;
        const std::string name(entry.substr(0, entry.find('=')));
        if (environment_.count(name)) continue;
        envStore.emplace_back(entry);
    }
    for (const auto& [name, value] : environment_) envStore.push_back(name + "=" + value);
    envStore.push_back("HOME=" + (dir_ / "home").string());
    envStore.push_back("XDG_DATA_HOME=" + (dir_ / "data").string());
    std::vector<char*> envp;
    for (auto& e : envStore) envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (stdout_.empty())
        posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    else posix_spawn_file_actions_addopen(&actions, 1, stdout_.c_str(), O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addchdir_np(&actions, dir_.c_str());

    pid_t pid = 0;
    const int rc = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        ADD_FAILURE() << "cannot start " << argv[0] << ": " << std::strerror(rc);
        return Started{-1, n};
    }
    return Started{pid, n};
}

CliResult CliTest::Wait(Started started) {
    CliResult result;
    if (started.pid <= 0) return result;
    const pid_t pid = started.pid;
    const std::string outPath = (dir_ / (".out" + std::to_string(started.n))).string();
    const std::string errPath = (dir_ / (".err" + std::to_string(started.n))).string();
    int wstatus = 0;
    while (::waitpid(pid, &wstatus, 0) < 0 && errno == EINTR) {
    }
    result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    result.signal = WIFSIGNALED(wstatus) ? WTERMSIG(wstatus) : 0;
    result.out = ReadText(outPath);
    result.err = ReadText(errPath);
    std::filesystem::remove(outPath);
    std::filesystem::remove(errPath);
    return result;
}

std::vector<std::uint8_t> CliTest::ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void CliTest::WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::string CliTest::ReadText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void CliTest::WriteText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

}  // namespace korvex::test
