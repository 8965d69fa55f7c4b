#pragma once
#include <string>

namespace korvex {

// Where a long transfer reports itself: a bar with a range and a position,
// and a one-line status text (UTF-8).
class Progress {
public:
    virtual ~Progress() = default;
    virtual void SetRange(int low, int high) = 0;
    virtual void SetPos(int pos) = 0;
    virtual void SetStatus(const std::string& text) = 0;
    virtual void Show() = 0;
    virtual void Hide() = 0;
};

// For callers that do not watch.
class NullProgress final : public Progress {
public:
    void SetRange(int, int) override {}
    void SetPos(int) override {}
    void SetStatus(const std::string&) override {}
    void Show() override {}
    void Hide() override {}
};

}  // namespace korvex
