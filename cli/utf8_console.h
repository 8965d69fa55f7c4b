#pragma once
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::cli {

// The command line as UTF-8, the text every path and message of the tool is
// kept in. Windows hands main() its arguments in the ANSI code page, where a
// Cyrillic file name may not even exist; there they are taken wide from the
// system instead. Elsewhere argv is used as given.
class Utf8Arguments {
public:
    Utf8Arguments(int argc, char** argv);
    int Count() const { return static_cast<int>(pointers_.size()) - 1; }
    char** Values() { return pointers_.data(); }

private:
    std::vector<std::string> values_;
    std::vector<char*> pointers_;  // argv-like, ends with nullptr
};

// An environment variable as UTF-8 (taken wide on Windows, where the narrow
// environment spells non-ASCII names in the ANSI code page); empty when unset.
std::string EnvironmentText(const char* name);

// Writes UTF-8 text to stdout or stderr. A Windows console gets it through
// WriteConsoleW, so Cyrillic shows whatever code page the console is in;
// files and pipes (and every stream elsewhere) get the UTF-8 bytes.
void WriteText(std::FILE* stream, std::string_view utf8);

}  // namespace korvex::cli
