#include "cli/help_sections.h"

#include <algorithm>
#include <array>

namespace korvex::cli {
namespace {

constexpr std::array kEnvironment{
    HelpEntry{"KORVEX_PORT", "The port of a command that needs a module when --port is not given, in the same forms"},
    HelpEntry{"LC_ALL, LC_MESSAGES, LANG",
              "The first one set names the messages' language when --language is not given: Russian for ru, "
              "English for any other language; C or POSIX keeps ru, with --compact en"},
#ifdef _WIN32
    HelpEntry{"LOCALAPPDATA", "The demo module is kept in %LOCALAPPDATA%\\korvex\\"},
#else
    HelpEntry{"XDG_DATA_HOME", "The demo module is kept in $XDG_DATA_HOME/korvex/ (default ~/.local/share/korvex/)"},
#endif
};

constexpr std::array kFiles{
#ifdef _WIN32
    HelpEntry{"%LOCALAPPDATA%\\korvex\\demo-full.bin", "The demo full module's 32768-byte memory (--port demo)"},
    HelpEntry{"%LOCALAPPDATA%\\korvex\\demo-compact.bin", "The demo compact module's memory (--compact --port demo)"},
#else
    HelpEntry{"$XDG_DATA_HOME/korvex/demo-full.bin", "The demo full module's 32768-byte memory (--port demo)"},
    HelpEntry{"$XDG_DATA_HOME/korvex/demo-compact.bin", "The demo compact module's memory (--compact --port demo)"},
#endif
    HelpEntry{"FILE.lock",
              "Beside a simulated module's memory FILE while a command holds it; a second program is told "
              "the port is busy"},
#ifndef _WIN32
    HelpEntry{"/dev/ttyS*, /dev/ttyUSB*, /dev/ttyACM*",
              "Serial ports (COMn is /dev/ttyS(n-1)); opening one needs membership of the dialout group"},
    HelpEntry{"/usr/share/bash-completion/completions/korvex-cli",
              "Completion of commands and options for bash (korvex-cli --completion bash prints it)"},
    HelpEntry{"/usr/share/zsh/vendor-completions/_korvex-cli", "The same for zsh (korvex-cli --completion zsh)"},
#endif
};

// The statuses of cli_error.h's ExitCode.
constexpr std::array kExitStatus{
    HelpEntry{"0", "Success"},
    HelpEntry{"1", "Usage error"},
    HelpEntry{"2", "Module or port failure"},
    HelpEntry{"3", "Verification mismatch (what was written does not read back)"},
    HelpEntry{"4", "File or input error (a result that cannot be written included)"},
    HelpEntry{"5", "diff found differences"},
};

// help2man orders the environment and the files itself; the exit statuses
// come last in the help so that what it makes of them falls in the files.
constexpr std::array kSections{
    HelpSection{"Environment:", "ENVIRONMENT", kEnvironment},
    HelpSection{"Files:", "FILES", kFiles},
    HelpSection{"Exit status:", "EXIT STATUS", kExitStatus},
};

// Text for a troff line: backslashes and hyphens escaped, a leading dot or
// apostrophe kept from being a request.
std::string Troff(std::string_view text) {
    std::string out;
    if (text.starts_with('.') || text.starts_with('\'')) out += "\\&";
    for (char c : text) {
        if (c == '\\') out += "\\e";
        else if (c == '-') out += "\\-";
        else out += c;
    }
    return out;
}

}  // namespace

std::span<const HelpSection> HelpSections() { return kSections; }

std::string HelpSectionsText() {
    std::string text;
    for (const HelpSection& section : kSections) {
        std::size_t width = 0;
        for (const HelpEntry& entry : section.entries) width = std::max(width, entry.term.size());
        text += (text.empty() ? "" : "\n") + std::string(section.heading) + "\n";
        for (const HelpEntry& entry : section.entries) {
            text += "  " + std::string(entry.term) + std::string(width - entry.term.size() + 2, ' ') +
                    std::string(entry.text) + "\n";
        }
    }
    return text;
}

std::string ManSectionsInclude() {
    std::string text;
    for (const HelpSection& section : kSections) {
        // "=": in place of whatever help2man made of the help text.
        text += "[=" + std::string(section.manSection) + "]\n";
        for (const HelpEntry& entry : section.entries)
            text += ".TP\n.B " + Troff(entry.term) + "\n" + Troff(entry.text) + "\n";
    }
    return text;
}

}  // namespace korvex::cli
