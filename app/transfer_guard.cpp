#include "app/transfer_guard.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include "app/module_link.h"

namespace korvex {

bool IsUserInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::Wheel:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::ContextMenu:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
            return true;
        default:
            return false;
    }
}

TransferGuard::TransferGuard(ModuleLink& link, QWidget* window) : QObject(window), link_(link), window_(window) {
    link_.SetIdleHandler([this] {
        if (!closePending_) return;
        // After the transfer's handler has returned, not inside it.
        QTimer::singleShot(0, window_, [this] {
            closePending_ = false;
            window_->close();
        });
    });
    qApp->installEventFilter(this);
}

TransferGuard::~TransferGuard() {
    link_.SetIdleHandler({});
    if (qApp) qApp->removeEventFilter(this);
}

bool TransferGuard::eventFilter(QObject* watched, QEvent* event) {
    if (!link_.Busy()) return false;
    if (watched == window_ && event->type() == QEvent::Close) {
        closePending_ = true;
        event->ignore();
        return true;
    }
    if (!IsUserInput(event->type())) return false;
    // Only what is meant for this window: a message box the transfer shows
    // is a window of its own and must still take its click.
    QWidget* target = nullptr;
    if (watched->isWidgetType()) {
        target = static_cast<QWidget*>(watched)->window();
    } else if (watched == window_->windowHandle()) {
        target = window_;
    }
    if (target != window_) return false;
    // An accepted override keeps the key from firing a shortcut.
    if (event->type() == QEvent::ShortcutOverride) event->accept();
    return true;
}

}  // namespace korvex
