#pragma once
#include <QEvent>
#include <QObject>

class QWidget;

namespace korvex {

class ModuleLink;

// Keys, mouse, wheel, touch, tablet and shortcuts: what a user sends a window.
bool IsUserInput(QEvent::Type type);

// Holds a program's window still while a transfer runs on its link (the one
// state: ModuleLink::Busy()). Input meant for the window (keys, mouse,
// wheel) is dropped, not deferred, so nothing is replayed when the transfer
// ends; boxes the transfer opens itself take input as usual. A close request
// is put off and carried out once the link is idle again, so the port is
// never closed under a running transfer.
class TransferGuard final : public QObject {
public:
    TransferGuard(ModuleLink& link, QWidget* window);
    ~TransferGuard() override;
    TransferGuard(const TransferGuard&) = delete;
    TransferGuard& operator=(const TransferGuard&) = delete;

    // True once a close was put off and not yet carried out.
    bool ClosePending() const { return closePending_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ModuleLink& link_;
    QWidget* window_;
    bool closePending_ = false;
};

}  // namespace korvex
