#include "cli/cli_files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "cli/cli_error.h"
#include "link/path_text.h"
#include "model/file_io.h"

namespace korvex::cli {

std::vector<std::uint8_t> ReadInputHead(const std::filesystem::path& path, const CliTexts& texts,
                                        std::size_t maxBytes) {
    // A folder opens for reading on some systems and then fails to read;
    // saying so at once is clearer.
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        throw CliError(kExitInput, std::string(texts.fileOpen) + PathToUtf8(path) + ": " + std::strerror(EISDIR));
    FileBytes file = ReadFileBytes(path, maxBytes);
    if (!file.outcome.Ok()) {
        const std::string_view what = file.outcome.failed == FileStep::Open ? texts.fileOpen : texts.fileRead;
        throw CliError(kExitInput, std::string(what) + file.outcome.path + ": " + file.outcome.reason);
    }
    return std::move(file.bytes);
}

std::vector<std::uint8_t> ReadInputFile(const std::filesystem::path& path, const CliTexts& texts,
                                        std::size_t exactSize) {
    // One byte past the expected size is enough to know the file is too long.
    std::vector<std::uint8_t> bytes = ReadInputHead(path, texts, exactSize + 1);
    if (bytes.size() != exactSize) {
        std::error_code sizeError;
        const std::uintmax_t size = std::filesystem::file_size(path, sizeError);
        throw CliError(kExitInput, std::string(texts.fileSize) + std::to_string(exactSize) +
                                       std::string(texts.fileSizeBytes) + PathToUtf8(path) + " (" +
                                       std::to_string(sizeError ? bytes.size() : size) + ")");
    }
    return bytes;
}

void WriteOutputFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes, const CliTexts& texts) {
    if (path == kStandardOutput) {
#ifdef _WIN32
        // A file's bytes as they are: the text mode Windows gives stdout
        // would turn the CSV's CR LF into CR CR LF and damage a WAV file.
        std::fflush(stdout);
        const int textMode = _setmode(_fileno(stdout), _O_BINARY);
#endif
        // main() checks the stream once more when the command ends.
        const bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size();
        const int error = errno;
#ifdef _WIN32
        std::fflush(stdout);
        if (textMode != -1) _setmode(_fileno(stdout), textMode);
#endif
        if (!written) throw CliError(kExitInput, std::string(texts.fileWrite) + "stdout: " + std::strerror(error));
        return;
    }
    const FileOutcome outcome = WriteFileAtomic(path, bytes);
    if (outcome.Ok()) return;
    if (outcome.besideExisting) {
        // The system's word is about the new file, which is not the one named.
        throw CliError(kExitInput, std::string(texts.fileReplace) + outcome.path + ": " +
                                       std::string(texts.noNewFileBeside) + " (" + outcome.reason + ")");
    }
    const std::string_view what = outcome.failed == FileStep::Create ? texts.fileCreate : texts.fileWrite;
    throw CliError(kExitInput, std::string(what) + outcome.path + ": " + outcome.reason);
}

namespace {

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code ec;
    if (std::filesystem::exists(a, ec) && std::filesystem::exists(b, ec)) {
        const bool same = std::filesystem::equivalent(a, b, ec);
        if (!ec) return same;
    }
    // A name not yet created: the same place after links and dots are resolved.
    const std::filesystem::path ca = std::filesystem::weakly_canonical(std::filesystem::absolute(a, ec), ec);
    const std::filesystem::path cb = std::filesystem::weakly_canonical(std::filesystem::absolute(b, ec), ec);
    return !ec && ca == cb;
}

// Outputs written in place (devices, FIFOs) and standard output destroy nothing.
bool ReplacedWhole(const std::filesystem::path& output) {
    if (output.empty() || output == kStandardOutput) return false;
    std::error_code ec;
    const auto status = std::filesystem::status(output, ec);
    return !std::filesystem::exists(status) || std::filesystem::is_regular_file(status);
}

}  // namespace

void RefuseOutputOverInput(const std::vector<std::filesystem::path>& outputs,
                           const std::vector<std::filesystem::path>& inputs, const CliTexts& texts) {
    for (const auto& output : outputs) {
        if (!ReplacedWhole(output)) continue;
        for (const auto& input : inputs) {
            if (input.empty() || input == kStandardOutput) continue;
            if (SameFile(output, input))
                throw CliError(kExitUsage, std::string(texts.sameFile) + output.string());
        }
    }
}

void RefuseSameOutputs(const std::vector<std::filesystem::path>& outputs, const CliTexts& texts) {
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        if (!ReplacedWhole(outputs[i])) continue;
        for (std::size_t j = i + 1; j < outputs.size(); ++j) {
            if (ReplacedWhole(outputs[j]) && SameFile(outputs[i], outputs[j]))
                throw CliError(kExitUsage, std::string(texts.sameOutput) + outputs[i].string());
        }
    }
}

}  // namespace korvex::cli
