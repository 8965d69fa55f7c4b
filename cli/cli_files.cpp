#include "cli/cli_files.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <system_error>

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
    const FileOutcome outcome = WriteFileAtomic(path, bytes);
    if (outcome.Ok()) return;
    const std::string_view what = outcome.failed == FileStep::Create ? texts.fileCreate : texts.fileWrite;
    throw CliError(kExitInput, std::string(what) + outcome.path + ": " + outcome.reason);
}

}  // namespace korvex::cli
