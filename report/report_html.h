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
    std::span<const LogRow> log = {};
    std::string project = {};  // the project file's name (UTF-8), empty when in no file
};

// Where the report goes: a browser page ends with its foot line (and keeps
// it at the foot of each printed sheet); paged output draws the foot itself.
enum class ReportForm { Browser, Paged };

// The module's program version from image bytes 16..19 (full image only),
// up to the first zero byte, as UTF-8.
std::string ProgramVersionOf(std::span<const std::uint8_t> image, const Profile& profile);

// `text` with &, <, >, " and ' as HTML entities.
std::string EscapeHtml(std::string_view text);

// The line at the foot of each page (UTF-8): the project file and the
// module (kind, program version, object name), so a loose sheet tells
// what it belongs to. Paged output adds the page number.
std::string ReportFoot(const ReportInput& input);

// "стр. 2 из 5" / "page 2 of 5".
std::string ReportPageNumber(ModuleKind kind, int page, int pages);

// One self-contained HTML page (UTF-8, no outside resources): the object,
// date, module, version and project, then every page's settings as its page
// words them (a zone or communicator action's phone with its number; where
// a group has several settings off, those in one line), the voice slots and
// the log. Everything that comes from the module is escaped.
std::string RenderReportHtml(const ReportInput& input, ReportForm form = ReportForm::Browser);

}  // namespace korvex
