#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "link/profile.h"
#include "log/log_rows.h"
#include "model/clock.h"
#include "model/config_settings.h"
#include "voice/voice_store.h"

namespace korvex {

// What an as-commissioned report shows. The voice slots and the log rows
// are optional: a report of a project file has neither.
struct ReportInput {
    const Profile& profile;
    const ConfigSettings& settings;
    std::string programVersion;        // UTF-8, empty where the module tells none
    Date date;                         // the day of the report
    const VoiceStore* voice = nullptr;
    std::span<const LogRow> log;
};

// The module's program version from image bytes 16..19 (full image only),
// up to the first zero byte, as UTF-8.
std::string ProgramVersionOf(std::span<const std::uint8_t> image, const Profile& profile);

// `text` with &, <, >, " and ' as HTML entities.
std::string EscapeHtml(std::string_view text);

// One self-contained HTML page (UTF-8, no outside resources): the module,
// version and date, then every page's settings as its page words them, the
// voice slots and the log. Everything that comes from the module is escaped.
std::string RenderReportHtml(const ReportInput& input);

}  // namespace korvex
