#include "cli/settings_commands.h"

#include <charconv>
#include <cstdio>
#include <optional>
#include <vector>

#include "cli/cli_error.h"
#include "cli/cli_files.h"
#include "cli/settings_json.h"
#include "cli/utf8_console.h"
#include "link/path_text.h"
#include "model/clock.h"
#include "model/config_settings.h"
#include "model/image_codec.h"

namespace korvex::cli {
namespace {

// Settings take a few kilobytes; anything far beyond is not a settings file.
constexpr std::size_t kMaxJsonBytes = 1 << 20;

bool IsLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// YYYY-MM-DD with a day that exists in its month.
std::optional<Date> ParseDate(const std::string& text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    auto number = [&](std::size_t at, std::size_t n, int& value) {
        const char* first = text.data() + at;
        const auto [end, ec] = std::from_chars(first, first + n, value);
        return ec == std::errc() && end == first + n;
    };
    Date date;
    if (!number(0, 4, date.year) || !number(5, 2, date.month) || !number(8, 2, date.day)) return std::nullopt;
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (date.month < 1 || date.month > 12) return std::nullopt;
    const int days = kDays[date.month - 1] + (date.month == 2 && IsLeap(date.year) ? 1 : 0);
    if (date.day < 1 || date.day > days) return std::nullopt;
    return date;
}

}  // namespace

int ShowCommand(const Context& ctx, const std::string& in, bool json) {
    const std::vector<std::uint8_t> image = ReadInputFile(PathFromUtf8(in), ctx.texts, ctx.profile.imageSize);
    ConfigSettings settings;
    UnpackImage(ctx.profile, image, settings);
    const Json object = SettingsToJson(ctx.profile, settings);
    WriteText(stdout, json ? object.dump(2) + "\n" : SettingsAsLines(object));
    return kExitOk;
}

int BuildCommand(const Context& ctx, const std::string& in, const std::string& out, const std::string& dateText) {
    std::optional<Date> date = Today();
    if (!dateText.empty()) {
        date = ParseDate(dateText);
        if (!date) throw CliError(kExitUsage, std::string(ctx.texts.badDate) + dateText);
    }
    const std::vector<std::uint8_t> text = ReadInputHead(PathFromUtf8(in), ctx.texts, kMaxJsonBytes + 1);
    if (text.size() > kMaxJsonBytes)
        throw CliError(kExitInput, std::string(ctx.texts.fileTooLarge) + in + " (> " + std::to_string(kMaxJsonBytes) + ")");
    JsonInput object;
    try {
        object = JsonInput::parse(text.begin(), text.end());
    } catch (const JsonInput::exception& e) {
        throw CliError(kExitInput, in + ": " + std::string(ctx.texts.badJson) + e.what());
    }

    // Keys left out keep what an all-zero image decodes to, as a project
    // file of zeros would load.
    const std::vector<std::uint8_t> zeros(ctx.profile.imageSize, 0);
    ConfigSettings settings;
    UnpackImage(ctx.profile, zeros, settings);
    try {
        ApplyJson(ctx.profile, ctx.texts, object, settings);
    } catch (const CliError& e) {
        throw CliError(e.Code(), in + ": " + e.what());
    }

    std::vector<std::uint8_t> image(ctx.profile.imageSize);
    PackImage(ctx.profile, settings, zeros, image, *date);
    WriteOutputFile(PathFromUtf8(out), image, ctx.texts);
    return kExitOk;
}

}  // namespace korvex::cli
