#pragma once
#include <string>

#include "cli/module_session.h"

namespace korvex::cli {

struct DiffOptions {
    std::string left;   // a project file
    std::string right;  // a second one; empty: the module on --port
    bool json = false;
};

// diff A.rom B.rom, or diff FILE.rom against the module: the fields that
// differ as their pages show them; exit status 5 when any do.
int DiffCommand(const Context& ctx, const DiffOptions& options);

struct ReportOptions {
    std::string in;   // the project file
    std::string out;  // the HTML file
    std::string log;  // optional: an 896-byte copy of the log ring
};

// report FILE.rom -o OUT.html [--log LOG.bin]: the as-commissioned report.
int ReportCommand(const Context& ctx, const ReportOptions& options);

}  // namespace korvex::cli
