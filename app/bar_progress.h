#pragma once
#include <QElapsedTimer>

#include "link/progress.h"

class QLabel;
class QProgressBar;

namespace korvex {

// A transfer's progress on a page: a bar and a one-line status. Transfers
// run in the button handler, so at each step the window's events are
// processed about 30 times a second; the desktop then never takes the window
// for hung during a half-minute voice write. The window's TransferGuard
// drops the user's input meanwhile.
class BarProgress final : public Progress {
public:
    // `status` may be null for a page whose transfers show only the bar.
    BarProgress(QProgressBar* bar, QLabel* status);

    void SetRange(int low, int high) override;
    void SetPos(int pos) override;
    void SetStatus(const std::string& text) override;
    void Show() override;
    void Hide() override;

private:
    // Paints now when `force`, otherwise at most every 33 ms.
    void Paint(bool force);

    QProgressBar* bar_;
    QLabel* status_;
    QElapsedTimer sincePaint_;
};

}  // namespace korvex
