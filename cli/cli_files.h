#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "cli/cli_texts.h"

namespace korvex::cli {

// Reads an input file that must be exactly `exactSize` bytes long; a file
// that cannot be read or has another length ends the command with exit
// status 4.
std::vector<std::uint8_t> ReadInputFile(const std::filesystem::path& path, const CliTexts& texts,
                                        std::size_t exactSize);

// Reads at most maxBytes from the start of an input file (exit status 4 when
// it cannot be read), so that a device or an endless file cannot exhaust
// the memory.
std::vector<std::uint8_t> ReadInputHead(const std::filesystem::path& path, const CliTexts& texts,
                                        std::size_t maxBytes);

// Writes an output file whole or not at all (exit status 4 on failure).
void WriteOutputFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes, const CliTexts& texts);

}  // namespace korvex::cli
