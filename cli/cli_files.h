#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

#include "cli/cli_texts.h"

namespace korvex::cli {

// Reads a whole input file; a file that cannot be read ends the command
// with exit status 4. With `exactSize`, a file of another length does too.
std::vector<std::uint8_t> ReadInputFile(const std::filesystem::path& path, const CliTexts& texts,
                                        std::optional<std::size_t> exactSize = std::nullopt);

// Writes an output file whole or not at all (exit status 4 on failure).
void WriteOutputFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes, const CliTexts& texts);

}  // namespace korvex::cli
