#include "log/log_csv.h"

#include "model/cp1251.h"
#include "model/file_io.h"
#include "link/path_text.h"

namespace korvex {

namespace {

constexpr std::string_view kEol = "\r\n";

void AppendField(std::string& line, const std::string& cell) {
    if (cell.find_first_of(",\"") == std::string::npos) {
        line += cell;
        return;
    }
    line += '"';
    for (char c : cell) {
        if (c == '"') line += '"';
        line += c;
    }
    line += '"';
}

}  // namespace

std::string LogCsvText(std::span<const LogRow> rows) {
    std::string utf8 = "   ";
    utf8 += kEol;
    for (const LogRow& row : rows) {
        for (std::size_t col = kLogColTime; col <= kLogColEvent; ++col) {
            if (col != kLogColTime) utf8 += ',';
            AppendField(utf8, row[col]);
        }
        if (row[kLogColZoneOrUser] != kNoZoneOrUser) {
            utf8 += ',';
            AppendField(utf8, row[kLogColZoneOrUser]);
        }
        utf8 += kEol;
    }
    return utf8;
}

Cp1251Result LogCsvBytes(std::span<const LogRow> rows) { return Utf8ToCp1251(LogCsvText(rows)); }

std::string LogCsvOutcome::Message() const { return PathToUtf8(file) + ": " + reason; }

LogCsvOutcome SaveLogCsv(const std::filesystem::path& file, std::span<const LogRow> rows) {
    const Cp1251Result csv = LogCsvBytes(rows);
    if (!csv.Ok()) return LogCsvOutcome{file, false, "the listing holds a character with no code in code page 1251"};

    const auto* data = reinterpret_cast<const std::uint8_t*>(csv.bytes.data());
    const FileOutcome written = WriteFileAtomic(file, {data, csv.bytes.size()});
    if (!written.Ok()) return LogCsvOutcome{file, false, written.reason};
    return LogCsvOutcome{file, true, {}};
}

}  // namespace korvex
