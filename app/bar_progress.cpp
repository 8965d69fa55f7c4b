#include "app/bar_progress.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>

namespace korvex {

namespace {
constexpr qint64 kPaintIntervalMs = 33;
}

BarProgress::BarProgress(QProgressBar* bar, QLabel* status) : bar_(bar), status_(status) {}

void BarProgress::SetRange(int low, int high) {
    bar_->setRange(low, high);
    Paint(false);
}

void BarProgress::SetPos(int pos) {
    bar_->setValue(pos);
    Paint(false);
}

void BarProgress::SetStatus(const std::string& text) {
    if (status_) status_->setText(QString::fromStdString(text));
    Paint(true);
}

void BarProgress::Show() {
    bar_->show();
    if (status_) status_->show();
    Paint(true);
}

void BarProgress::Hide() {
    bar_->hide();
    if (status_) status_->hide();
    Paint(true);
}

void BarProgress::Paint(bool force) {
    if (!force && sincePaint_.isValid() && sincePaint_.elapsed() < kPaintIntervalMs) return;
    sincePaint_.start();
    // All events: input for the window is dropped by its TransferGuard, so
    // none is kept to be replayed after the transfer.
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

}  // namespace korvex
