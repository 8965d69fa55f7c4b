#include "cli/log_commands.h"

#include <cstdio>
#include <vector>

#include "cli/cli_error.h"
#include "cli/cli_files.h"
#include "cli/json_output.h"
#include "cli/utf8_console.h"
#include "link/path_text.h"
#include "link/device_link.h"
#include "log/log_csv.h"
#include "log/log_record.h"
#include "log/log_rows.h"
#include "log/log_transfer.h"

namespace korvex::cli {
namespace {

void RequireLog(const Context& ctx) {
    if (!ctx.profile.hasLog) throw CliError(kExitUsage, std::string(ctx.texts.noLog));
}

// The listing as the page shows it: the column headers, then one line per
// row, the cells separated by tabs.
void PrintRows(const std::vector<LogRow>& rows, Language language) {
    const auto headers = LogColumnHeaders(language);
    std::string text;
    for (std::size_t col = 0; col < kLogColumnCount; ++col) (text += col ? "\t" : "") += headers[col];
    text += "\n";
    for (const LogRow& row : rows) {
        for (std::size_t col = 0; col < kLogColumnCount; ++col) (text += col ? "\t" : "") += row[col];
        text += "\n";
    }
    WriteText(stdout, text);
}

// The listing for scripts: its cells as the page shows them, keyed, and the
// numbers a script would otherwise parse out of them. The event is its text
// alone, whatever --show-codes says: the code has its own key.
void PrintListingJson(const std::vector<LogRecord>& records, Language language) {
    JsonObject list = JsonObject::array();
    for (const LogRecord& record : records) {
        const LogRow row = MakeLogRow(record, false, language);
        const std::string& zone = row[kLogColZoneOrUser];
        list.push_back({{"position", record.position},
                        {"time", row[kLogColTime]},
                        {"date", row[kLogColDate]},
                        {"month", record.month},
                        {"day", record.day},
                        {"objectId", row[kLogColId]},
                        {"partition", row[kLogColPartition]},
                        {"eventCode", record.eventCode},
                        {"restore", record.restore},
                        {"event", row[kLogColEvent]},
                        {"zoneOrUser", zone == kNoZoneOrUser ? JsonObject() : JsonObject(zone)}});
    }
    PrintJson({{"records", list}});
}

void Deliver(const Context& ctx, const std::vector<LogRecord>& records, const LogOptions& options) {
    const std::vector<LogRow> rows = MakeLogRows(records, options.showCodes, ctx.profile.language);
    if (options.csv.empty()) {
        if (options.json) PrintListingJson(records, ctx.profile.language);
        else PrintRows(rows, ctx.profile.language);
        return;
    }
    if (options.encoding == kCsvUtf8) {
        // Every listed text is UTF-8 already, so nothing can be refused.
        const std::string csv = LogCsvText(rows);
        WriteOutputFile(PathFromUtf8(options.csv),
                        std::span(reinterpret_cast<const std::uint8_t*>(csv.data()), csv.size()), ctx.texts);
        return;
    }
    if (options.csv == kStandardOutput) {
        const Cp1251Result csv = LogCsvBytes(rows);
        if (!csv.Ok()) throw CliError(kExitInput, std::string(ctx.texts.fileWrite) + "stdout: " + csv.error->Message());
        WriteOutputFile(options.csv,
                        std::span(reinterpret_cast<const std::uint8_t*>(csv.bytes.data()), csv.bytes.size()),
                        ctx.texts);
        return;
    }
    // An empty listing still gives its file (the first line only), so that
    // a script always finds what it asked for.
    if (const LogCsvOutcome saved = SaveLogCsv(PathFromUtf8(options.csv), rows); !saved.Ok())
        throw CliError(kExitInput, std::string(ctx.texts.fileWrite) + saved.Message());
}

}  // namespace

int ReadLogCommand(const Context& ctx, const LogOptions& options) {
    RequireLog(ctx);
    std::vector<LogRecord> records;
    const int code = RunOnModule(ctx, [&](ModuleSession& session) {
        session.Announce([&](TwoWireBus& bus) {
            NullProgress quiet;
            std::vector<LogRecord> scratch;
            static_cast<void>(ReadLog(bus, ctx.profile, quiet, scratch));  // a dry run: only its bus calls count
        });
        RequireOk(ctx, ReadLog(session.Bus(), ctx.profile, session.GetProgress(), records));
        return kExitOk;
    });
    Deliver(ctx, records, options);
    return code;
}

int DecodeLogCommand(const Context& ctx, const std::string& raw, const LogOptions& options) {
    RequireLog(ctx);
    const std::vector<std::uint8_t> bytes = ReadInputFile(PathFromUtf8(raw), ctx.texts, kLogSize);
    Deliver(ctx, DecodeLog(std::span<const std::uint8_t, kLogSize>(bytes.data(), kLogSize)), options);
    return kExitOk;
}

int ClearLogCommand(const Context& ctx) {
    RequireLog(ctx);
    return RunOnModule(ctx, [&](ModuleSession& session) {
        session.Announce([&](TwoWireBus& bus) {
            NullProgress quiet;
            static_cast<void>(ClearLog(bus, ctx.profile, quiet));  // a dry run: only its bus calls count
        });
        RequireOk(ctx, ClearLog(session.Bus(), ctx.profile, session.GetProgress()));
        return kExitOk;
    }, ModuleAccess::Writes);
}

}  // namespace korvex::cli
