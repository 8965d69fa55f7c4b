#include "cli/cli_files.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <string>
#include <system_error>

#include "cli/cli_error.h"

namespace korvex::cli {

std::vector<std::uint8_t> ReadInputFile(const std::filesystem::path& path, const CliTexts& texts,
                                        std::optional<std::size_t> exactSize) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        throw CliError(kExitInput, std::string(texts.fileOpen) + path.string() + ": " + std::strerror(EISDIR));
    std::ifstream in(path, std::ios::binary);
    if (!in) throw CliError(kExitInput, std::string(texts.fileOpen) + path.string() + ": " + std::strerror(errno));
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw CliError(kExitInput, std::string(texts.fileRead) + path.string() + ": " + std::strerror(errno));
    if (exactSize && bytes.size() != *exactSize) {
        throw CliError(kExitInput, std::string(texts.fileSize) + std::to_string(*exactSize) +
                                       std::string(texts.fileSizeBytes) + path.string() + " (" +
                                       std::to_string(bytes.size()) + ")");
    }
    return bytes;
}

void WriteOutputFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes, const CliTexts& texts) {
    const std::filesystem::path temp = path.string() + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out)
            throw CliError(kExitInput, std::string(texts.fileCreate) + path.string() + ": " + std::strerror(errno));
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            const std::string reason = std::strerror(errno);
            std::error_code ignored;
            std::filesystem::remove(temp, ignored);
            throw CliError(kExitInput, std::string(texts.fileWrite) + path.string() + ": " + reason);
        }
    }
    std::error_code ec;
    std::filesystem::rename(temp, path, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        throw CliError(kExitInput, std::string(texts.fileWrite) + path.string() + ": " + ec.message());
    }
}

}  // namespace korvex::cli
