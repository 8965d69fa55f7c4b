#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>
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

// The output name that stands for standard output.
inline constexpr std::string_view kStandardOutput = "-";

// Writes an output file whole or not at all (exit status 4 on failure);
// "-" writes to standard output.
void WriteOutputFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes, const CliTexts& texts);

// Refuses (exit status 1) an output that is the same file as one of the
// command's inputs, before anything is read or written: writing it would
// destroy the input. "-" and empty names are skipped; an output that is a
// device or a FIFO is written in place and destroys nothing.
void RefuseOutputOverInput(const std::vector<std::filesystem::path>& outputs,
                           const std::vector<std::filesystem::path>& inputs, const CliTexts& texts);

// Refuses (exit status 1) two outputs of one command that are the same
// file: the one written last would replace the other. "-", empty names and
// outputs that are devices or FIFOs are skipped, as above.
void RefuseSameOutputs(const std::vector<std::filesystem::path>& outputs, const CliTexts& texts);

}  // namespace korvex::cli
