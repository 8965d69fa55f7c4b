#include "cli/terminal_progress.h"

#include <algorithm>

#include "cli/utf8_console.h"

#ifdef _WIN32
#include <io.h>
#define KORVEX_ISATTY _isatty
#define KORVEX_FILENO _fileno
#else
#include <unistd.h>
#define KORVEX_ISATTY isatty
#define KORVEX_FILENO fileno
#endif

namespace korvex::cli {
namespace {
constexpr int kBarWidth = 30;
}

TerminalProgress::TerminalProgress(std::FILE* out)
    : out_(out), active_(KORVEX_ISATTY(KORVEX_FILENO(out)) != 0) {}

void TerminalProgress::SetRange(int low, int high) {
    low_ = low;
    high_ = high;
    drawnPercent_ = -1;
}

void TerminalProgress::SetPos(int pos) {
    pos_ = pos;
    Draw(false);
}

void TerminalProgress::SetStatus(const std::string& text) {
    status_ = text;
    Draw(true);
}

void TerminalProgress::Show() {
    shown_ = true;
    Draw(true);
}

void TerminalProgress::Hide() {
    if (active_ && shown_) {
        std::fputs("\r\033[K", out_);
        std::fflush(out_);
    }
    shown_ = false;
}

void TerminalProgress::Draw(bool force) {
    if (!active_ || !shown_) return;
    const int span = std::max(1, high_ - low_);
    const int percent = std::clamp((pos_ - low_) * 100 / span, 0, 100);
    // Redraw only when the figure moves; a transfer sets the position
    // hundreds of times.
    if (!force && percent == drawnPercent_) return;
    drawnPercent_ = percent;
    const int filled = percent * kBarWidth / 100;
    std::string bar(static_cast<std::size_t>(filled), '#');
    bar.append(static_cast<std::size_t>(kBarWidth - filled), '.');
    char figure[8];
    std::snprintf(figure, sizeof figure, "%3d%%", percent);
    WriteText(out_, "\r\033[K" + status_ + " [" + bar + "] " + figure);
    std::fflush(out_);
}

}  // namespace korvex::cli
