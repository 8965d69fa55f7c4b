#include "app/bar_progress.h"

#include <QLabel>
#include <QProgressBar>

namespace korvex {

BarProgress::BarProgress(QProgressBar* bar, QLabel* status, std::function<void(const QString&)> shown)
    : bar_(bar), status_(status), shown_(std::move(shown)) {}

void BarProgress::SetRange(int low, int high) { bar_->setRange(low, high); }

void BarProgress::SetPos(int pos) { bar_->setValue(pos); }

void BarProgress::SetStatus(const std::string& text) {
    if (!status_) return;
    QString line = QString::fromStdString(text);
    // "Запись конфигурации... (около 2 с)", as the report after it says "(1,9 с)".
    if (!note_.isEmpty()) line += line.isEmpty() ? note_ : QStringLiteral(" (") + note_ + QStringLiteral(")");
    status_->setText(line);
    if (shown_) shown_(line);
}

void BarProgress::SetNote(const std::string& note) { note_ = QString::fromStdString(note); }

void BarProgress::Show() {
    bar_->show();
    if (status_) status_->show();
}

void BarProgress::Hide() {
    bar_->hide();
    if (status_) status_->hide();
}

}  // namespace korvex
