#include "cli/compare_commands.h"

#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_error.h"
#include "cli/cli_files.h"
#include "cli/json_output.h"
#include "cli/settings_json.h"
#include "cli/utf8_console.h"
#include "link/device_link.h"
#include "link/path_text.h"
#include "log/log_record.h"
#include "log/log_rows.h"
#include "log/log_transfer.h"
#include "model/clock.h"
#include "model/config_transfer.h"
#include "model/image_codec.h"
#include "model/settings_rows.h"
#include "report/report_html.h"
#include "report/report_texts.h"

namespace korvex::cli {
namespace {

ConfigSettings SettingsOf(const Context& ctx, const std::vector<std::uint8_t>& image) {
    ConfigSettings settings;
    UnpackImage(ctx.profile, image, settings);
    return settings;
}

ConfigSettings ModuleSettings(const Context& ctx) {
    ModuleConfig module;
    // Failures leave as CliError; the body itself has no other outcome.
    RunOnModule(ctx, [&](ModuleSession& session) {
        RequireOk(ctx, ReadSettingsFromModule(session.Bus(), ctx.profile, session.GetProgress(), module));
        return kExitOk;
    });
    return module.settings;
}

// Tab-separated lines under a heading line, so that scripts can cut them.
void PrintRows(const std::vector<DiffRow>& diff, const ReportTexts& texts, const std::string& left,
               const std::string& right) {
    if (diff.empty()) {
        WriteText(stdout, std::string(texts.noDifferences) + "\n");
        return;
    }
    // Values come from files and the module: a tab or a newline in a name
    // would split its row, an escape sequence would reach the terminal.
    std::string text = std::string(texts.page) + "\t" + texts.field + "\t" + EscapeControls(left) + "\t" +
                       EscapeControls(right) + "\n";
    for (const DiffRow& row : diff) {
        text += EscapeControls(row.page) + "\t" + EscapeControls(row.field) + "\t" + EscapeControls(row.left) + "\t" +
                EscapeControls(row.right) + "\n";
    }
    WriteText(stdout, text);
}

void PrintDiffJson(const std::vector<DiffRow>& diff, const std::string& left, const std::string& right) {
    JsonObject rows = JsonObject::array();
    for (const DiffRow& row : diff)
        rows.push_back({{"page", row.page}, {"field", row.field}, {"left", row.left}, {"right", row.right}});
    PrintJson({{"left", left}, {"right", right}, {"differences", rows}});
}

}  // namespace

int DiffCommand(const Context& ctx, const DiffOptions& options) {
    const ReportTexts& texts = ReportTextsFor(ctx.profile.kind);
    // Files are read first: a bad file never costs a module read.
    const ConfigSettings left = SettingsOf(ctx, ReadInputFile(PathFromUtf8(options.left), ctx.texts, ctx.profile.imageSize));
    const bool fromModule = options.right.empty();
    const ConfigSettings right =
        fromModule ? ModuleSettings(ctx)
                   : SettingsOf(ctx, ReadInputFile(PathFromUtf8(options.right), ctx.texts, ctx.profile.imageSize));
    const std::string rightName = fromModule ? std::string(texts.right) : options.right;
    const std::vector<DiffRow> diff = CompareSettings(left, right, ctx.profile);
    if (options.json) PrintDiffJson(diff, options.left, rightName);
    else PrintRows(diff, texts, options.left, rightName);
    return diff.empty() ? kExitOk : kExitDiffers;
}

int ReportCommand(const Context& ctx, const ReportOptions& options) {
    if (!options.log.empty() && !ctx.profile.hasLog) throw CliError(kExitUsage, std::string(ctx.texts.noLog));
    const std::vector<std::uint8_t> image = ReadInputFile(PathFromUtf8(options.in), ctx.texts, ctx.profile.imageSize);
    std::vector<LogRow> log;
    if (!options.log.empty()) {
        const std::vector<std::uint8_t> raw = ReadInputFile(PathFromUtf8(options.log), ctx.texts, kLogSize);
        log = MakeLogRows(DecodeLog(std::span<const std::uint8_t, kLogSize>(raw.data(), kLogSize)), false,
                          ctx.profile.language);
    }
    const ConfigSettings settings = SettingsOf(ctx, image);
    const std::string html = RenderReportHtml({.profile = ctx.profile,
                                               .settings = settings,
                                               .programVersion = ProgramVersionOf(image, ctx.profile),
                                               .date = Today(),
                                               .log = log,
                                               .project = PathToUtf8(PathFromUtf8(options.in).filename())});
    WriteOutputFile(PathFromUtf8(options.out), std::span(reinterpret_cast<const std::uint8_t*>(html.data()), html.size()), ctx.texts);
    return kExitOk;
}

}  // namespace korvex::cli
