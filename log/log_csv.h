#pragma once
#include <filesystem>
#include <span>
#include <string>

#include "model/cp1251.h"
#include "log/log_rows.h"

namespace korvex {

// The CSV export of a listing as UTF-8 text with CR LF: a first line of
// three spaces, then per row the cells of columns 1 to 5 and, unless it is
// the single space, column 6, joined by ",". Column 0 is not written. A cell
// holding a comma or a double quote is put in double quotes with its quotes
// doubled, so every line keeps its columns; every other cell is written as
// shown.
std::string LogCsvText(std::span<const LogRow> rows);

// The export's own bytes: LogCsvText in code page 1251. Refused, naming the
// character, when a cell has one with no code in 1251.
Cp1251Result LogCsvBytes(std::span<const LogRow> rows);

// What saving the export came to: the file asked for and, on failure, why.
struct [[nodiscard]] LogCsvOutcome {
    std::filesystem::path file;
    bool saved = true;
    std::string reason;  // a character without a code, or the system's text
    bool Ok() const { return saved; }
    std::string Message() const;  // "<file>: <reason>"
};

// Writes LogCsvBytes(rows) to `file`: first into a temporary file beside it,
// then renamed over it, so an existing file is replaced only by a complete
// new one and is left as it was on any failure. Writes whatever it is given;
// skipping an empty listing is the caller's choice.
LogCsvOutcome SaveLogCsv(const std::filesystem::path& file, std::span<const LogRow> rows);

}  // namespace korvex
