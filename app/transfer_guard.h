#pragma once
#include <QEvent>
#include <QObject>

class QWidget;

namespace korvex {

struct AppModel;

// Keys, mouse, wheel, touch, tablet and shortcuts: what a user sends a window.
bool IsUserInput(QEvent::Type type);

// Keeps a program's window from cutting a running transfer off. A close
// while one runs asks whether to stop it ("Stop and close" / "Keep
// waiting", waiting the default): on Stop the transfer stops at its next
// safe point and the window closes once it has ended, with the port. Escape
// in the window stops a running transfer. The window goes on taking input
// meanwhile; what the transfer works on is locked by the pages.
class TransferGuard final : public QObject {
public:
    TransferGuard(AppModel& model, QWidget* window);
    ~TransferGuard() override;
    TransferGuard(const TransferGuard&) = delete;
    TransferGuard& operator=(const TransferGuard&) = delete;

    // For the window's destructor, before its pages go: a transfer still
    // running is stopped and its end taken while they can still be told.
    void StopAndWait();

    // True once a close was put off and not yet carried out.
    bool ClosePending() const { return closePending_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    AppModel& model_;
    QWidget* window_;
    bool closePending_ = false;
};

}  // namespace korvex
