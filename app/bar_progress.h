#pragma once
#include <QString>
#include <functional>

#include "link/progress.h"

class QLabel;
class QProgressBar;

namespace korvex {

// A transfer's progress on a page: a bar and a one-line status. It runs on
// the window's thread; a transfer's worker reaches it through
// PostedProgress (app/posted_progress.h), so the window paints as usual.
class BarProgress final : public Progress {
public:
    // `status` may be null for a page whose transfers show only the bar;
    // `shown`, when given, hears every text put on it.
    BarProgress(QProgressBar* bar, QLabel* status, std::function<void(const QString&)> shown = {});

    void SetRange(int low, int high) override;
    void SetPos(int pos) override;
    void SetStatus(const std::string& text) override;
    void Show() override;
    void Hide() override;

    // Said in brackets after every status text until changed ("около 48 с"); empty for none.
    void SetNote(const std::string& note);

private:
    QProgressBar* bar_;
    QLabel* status_;
    QString note_;
    std::function<void(const QString&)> shown_;
};

}  // namespace korvex
