#pragma once
#include <cstdio>
#include <string>

#include "link/progress.h"

namespace korvex::cli {

// A one-line bar on stderr, redrawn in place: the status text, the bar and
// the percentage. Silent unless stderr is a terminal, so that scripts and
// logs get only the messages.
class TerminalProgress final : public Progress {
public:
    explicit TerminalProgress(std::FILE* out = stderr);
    bool Active() const { return active_; }

    void SetRange(int low, int high) override;
    void SetPos(int pos) override;
    void SetStatus(const std::string& text) override;
    void Show() override;
    void Hide() override;

private:
    void Draw(bool force);

    std::FILE* out_;
    bool active_;
    bool shown_ = false;
    int low_ = 0, high_ = 0, pos_ = 0;
    int drawnPercent_ = -1;
    std::string status_;
};

}  // namespace korvex::cli
