#pragma once
#include <string>

#include "cli/module_session.h"

namespace korvex::cli {

// The CSV export's encodings as --encoding names them: the format's own
// code page, or UTF-8 for scripts.
inline constexpr const char* kCsvCp1251 = "cp1251";
inline constexpr const char* kCsvUtf8 = "utf-8";

struct LogOptions {
    std::string csv;                    // write the CSV export here instead of printing
    bool showCodes = false;             // the event code before each event text
    bool json = false;                  // the listing as one JSON object
    std::string encoding = kCsvCp1251;  // of the CSV export
};

// read-log: the module's log, printed as the Log page lists it or exported.
int ReadLogCommand(const Context& ctx, const LogOptions& options);
// decode-log RAW: the same from an 896-byte copy of the ring.
int DecodeLogCommand(const Context& ctx, const std::string& raw, const LogOptions& options);
// clear-log: erases the module's log.
int ClearLogCommand(const Context& ctx);

}  // namespace korvex::cli
