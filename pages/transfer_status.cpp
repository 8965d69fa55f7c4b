#include "pages/transfer_status.h"

#include <QLabel>
#include <QProgressBar>

#include "app/bar_progress.h"
#include "app/module_link.h"
#include "app/qt_paths.h"

namespace korvex {

TransferStatus::TransferStatus(const Profile& profile, const FilePageTexts& texts, QWidget* page)
    : QObject(page), profile_(profile), texts_(texts), page_(page) {}

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
    line_ = new QLabel(page_);
    line_->setObjectName("status");
    line_->setAlignment(Qt::AlignCenter);
    line_->setWordWrap(true);  // the cable advice is longer than a report
    HideKeepingRoom(line_);
    return line_;
}

QProgressBar* TransferStatus::MakeBar() {
    bar_ = new QProgressBar(page_);
    bar_->setObjectName("transferBar");
    bar_->setTextVisible(false);
    HideKeepingRoom(bar_);
    progress_ = std::make_unique<BarProgress>(bar_, line_);
    return bar_;
}

void TransferStatus::Begin(const std::string& estimate) {
    progress_->SetNote(estimate);
    line_->setText(QtText(estimate));
    line_->show();
}

void TransferStatus::Finish(TransferKind kind, const TransferRun& run) {
    progress_->SetNote({});
    if (run.end == TransferRun::End::NotRun) return;
    if (run.Done()) bar_->hide();
    line_->setText(QString::fromStdString(TransferReport(profile_, {kind, run.Done(), run.elapsed})));
    line_->show();
}

void TransferStatus::AdviseOnCable(const ModuleLink& link) {
    const QString advice = QtText(texts_.cachedStatus);
    if (link.IsOpen() && link.SpecMayMisread()) {
        line_->setText(advice);
        line_->show();
    } else if (line_->text() == advice) {
        line_->hide();
    }
}

}  // namespace korvex
