#pragma once
#include <stdexcept>
#include <string>

namespace korvex::cli {

// The tool's exit statuses; scripts rely on them.
enum ExitCode : int {
    kExitOk = 0,
    kExitUsage = 1,
    kExitModule = 2,    // not connected, unknown type, port error
    kExitMismatch = 3,  // the read-back differs from what was written
    kExitInput = 4,     // a file or its contents
    kExitDiffers = 5,   // diff: the two sides differ
};

// Ends a command: the message goes to stderr, the code is the exit status.
class CliError : public std::runtime_error {
public:
    CliError(ExitCode code, const std::string& message) : std::runtime_error(message), code_(code) {}
    ExitCode Code() const { return code_; }

private:
    ExitCode code_;
};

}  // namespace korvex::cli
