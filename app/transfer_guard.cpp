#include "app/transfer_guard.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include "app/app_model.h"
#include "app/qt_paths.h"

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

TransferGuard::TransferGuard(AppModel& model, QWidget* window) : QObject(window), model_(model), window_(window) {
    connect(&model_.transfers, &TransferRunner::Finished, this, [this] {
        if (!closePending_) return;
        // After the transfer's own handlers have run, not inside them.
        QTimer::singleShot(0, window_, [this] {
            if (!closePending_ || model_.transfers.Running()) return;
            closePending_ = false;
            window_->close();
        });
    });
    qApp->installEventFilter(this);
}

TransferGuard::~TransferGuard() {
    if (qApp) qApp->removeEventFilter(this);
}

void TransferGuard::StopAndWait() {
    closePending_ = false;
    model_.transfers.RequestStop();
    while (model_.transfers.Running()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

bool TransferGuard::eventFilter(QObject* watched, QEvent* event) {
    if (!model_.transfers.Running()) return false;
    if (watched == window_ && event->type() == QEvent::Close) {
        event->ignore();
        if (closePending_) return true;
        const TransferTexts& texts = TransferTextsFor(model_.profile);
        if (model_.dialogs->Choose(window_, QtText(texts.askStopToClose), QtText(texts.stopAndClose),
                                   QtText(texts.keepWaiting))) {
            closePending_ = true;
            model_.transfers.RequestStop();
            // It may have ended while the question was up.
            if (!model_.transfers.Running())
                QTimer::singleShot(0, window_, [this] {
                    closePending_ = false;
                    window_->close();
                });
        }
        return true;
    }
    if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape) return false;
    // Only Escape meant for this window: a box the program shows takes its own.
    QWidget* target = nullptr;
    if (watched->isWidgetType()) {
        target = static_cast<QWidget*>(watched)->window();
    } else if (watched == window_->windowHandle()) {
        target = window_;
    }
    if (target != window_) return false;
    model_.transfers.RequestStop();
    return true;
}

}  // namespace korvex
