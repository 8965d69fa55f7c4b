#include "pages/transfer_status.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "app/bar_progress.h"
#include "app/module_link.h"
#include "app/qt_paths.h"
#include "pages/stop_button.h"

namespace korvex {

TransferStatus::TransferStatus(const Profile& profile, const FilePageTexts& texts, TransferRunner& runner,
                               QWidget* page)
    : QObject(page), profile_(profile), texts_(texts), runner_(runner), page_(page) {}

TransferStatus::~TransferStatus() = default;

namespace {

// Hidden until there is something to show, keeping its room, so nothing
// moves when a transfer starts.
void HideKeepingRoom(QWidget* w) {
    QSizePolicy policy = w->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    w->setSizePolicy(policy);
    w->hide();
}

}  // namespace

QLabel* TransferStatus::MakeLine() {
    setObjectName("transferStatus");
    line_ = new QLabel(page_);
    line_->setObjectName("status");
    line_->setAlignment(Qt::AlignCenter);
    line_->setWordWrap(true);  // the cable advice is longer than a report
    HideKeepingRoom(line_);
    return line_;
}

QWidget* TransferStatus::MakeBar() {
    auto* row = new QWidget(page_);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    bar_ = new QProgressBar(row);
    bar_->setObjectName("transferBar");
    bar_->setTextVisible(false);
    HideKeepingRoom(bar_);
    layout->addWidget(bar_, 1);
    layout->addWidget(MakeStopButton(runner_, profile_, "stopTransfer", row));
    progress_ = std::make_unique<BarProgress>(bar_, line_, [this](const QString& text) { emit LineChanged(text); });
    return row;
}

void TransferStatus::Begin(const std::string& estimate) {
    progress_->SetNote(estimate);
    SetLine(QtText(estimate));
    line_->show();
}

void TransferStatus::Finish(TransferKind kind, const TransferRun& run) {
    progress_->SetNote({});
    if (run.end == TransferRun::End::NotRun) return;
    if (run.Done()) bar_->hide();
    const bool stopped = run.end == TransferRun::End::Stopped;
    SetLine(QString::fromStdString(
        TransferReport(profile_, {kind, run.Done(), run.elapsed, 0, stopped, run.nothingWritten})));
    line_->show();
}

void TransferStatus::SetLine(const QString& text) {
    line_->setText(text);
    emit LineChanged(text);
}

void TransferStatus::Say(const QString& text) {
    SetLine(text);
    line_->show();
}

void TransferStatus::Clear() {
    SetLine({});
    line_->hide();
    bar_->hide();
}

void TransferStatus::AdviseOnCable(const ModuleLink& link) {
    const QString advice = QtText(texts_.cachedStatus);
    const QString bitBang = QtText(texts_.ftdiFast);
    if (link.IsOpen() && link.Probe().pinStream) {
        SetLine(bitBang);
        line_->show();
    } else if (line_->text() == bitBang) {
        line_->hide();
    } else if (link.IsOpen() && link.SpecMayMisread()) {
        SetLine(advice);
        line_->show();
    } else if (line_->text() == advice) {
        line_->hide();
    }
}

}  // namespace korvex
