#include "log/log_csv.h"

#include <cerrno>
#include <cstdio>
#include <random>
#include <system_error>

#include "log/csv_cp1251.h"

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

std::string ErrnoText(int error) { return std::generic_category().message(error); }

// A new file beside `file` with a name nobody uses: "<name>.<random>.tmp",
// created exclusively so that no other file is ever truncated. errno tells
// why when it returns nullptr.
std::FILE* OpenTempBeside(const std::filesystem::path& file, std::filesystem::path& temp) {
    std::random_device seed;
    std::mt19937 gen(seed());
    for (int attempt = 0; attempt < 16; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(gen()));
        temp = file;
        temp += suffix;
        errno = 0;
        if (std::FILE* out = std::fopen(temp.string().c_str(), "wbx")) return out;
        if (errno != EEXIST) return nullptr;
    }
    return nullptr;
}

}  // namespace

std::optional<std::string> LogCsvBytes(std::span<const LogRow> rows) {
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
    return CsvTextToCp1251(utf8);
}

std::string LogCsvError::Message() const { return file.string() + ": " + reason; }

std::optional<LogCsvError> SaveLogCsv(const std::filesystem::path& file, std::span<const LogRow> rows) {
    const auto bytes = LogCsvBytes(rows);
    if (!bytes) return LogCsvError{file, "the listing holds a character with no code in code page 1251"};

    std::filesystem::path temp;
    std::FILE* out = OpenTempBeside(file, temp);
    if (!out) return LogCsvError{file, ErrnoText(errno)};

    int error = 0;
    errno = 0;
    if (std::fwrite(bytes->data(), 1, bytes->size(), out) != bytes->size()) error = errno ? errno : EIO;
    errno = 0;
    if (std::fclose(out) != 0 && error == 0) error = errno ? errno : EIO;
    std::error_code ec;
    if (error != 0) {
        std::filesystem::remove(temp, ec);
        return LogCsvError{file, ErrnoText(error)};
    }
    std::filesystem::rename(temp, file, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        return LogCsvError{file, ec.message()};
    }
    return std::nullopt;
}

}  // namespace korvex
