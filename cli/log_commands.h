#pragma once
#include <string>

#include "cli/module_session.h"

namespace korvex::cli {

struct LogOptions {
    std::string csv;         // write the CSV export here instead of printing
    bool showCodes = false;  // the event code before each event text
};

// read-log: the module's log, printed as the Log page lists it or exported.
int ReadLogCommand(const Context& ctx, const LogOptions& options);
// decode-log RAW: the same from an 896-byte copy of the ring.
int DecodeLogCommand(const Context& ctx, const std::string& raw, const LogOptions& options);
// clear-log: erases the module's log.
int ClearLogCommand(const Context& ctx);

}  // namespace korvex::cli
