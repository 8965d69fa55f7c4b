#pragma once
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace korvex {

// Paths travel through the program as UTF-8 text (command lines, messages,
// settings) and become std::filesystem::path only here. On Windows a path
// built from a narrow string reads it byte by byte, so "Папка\проект.rom"
// would name a different file; these read and write UTF-8 on every system.
std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string PathToUtf8(const std::filesystem::path& path);

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// The one way the core opens a file: fopen's modes ("rb", "wbx"...), the
// wide call on Windows so that any name opens. errno tells why on failure.
FileHandle OpenFile(const std::filesystem::path& path, const char* mode);

}  // namespace korvex
