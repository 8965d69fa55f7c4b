#pragma once
#include <QObject>
#include <memory>
#include <string>

#include "pages/file_page_texts.h"
#include "app/run_transfer.h"
#include "app/transfer_report.h"

class QLabel;
class QProgressBar;
class QWidget;

namespace korvex {

class BarProgress;
class ModuleLink;
class TransferRunner;

// The File page's transfer status: the status line and the progress bar
// under the boxes, and what they say before, during and after a transfer
// (the estimate, the progress, the report, the advice on a cable). Both
// stay hidden, keeping their room, until there is something to show.
class TransferStatus : public QObject {
    Q_OBJECT
public:
    TransferStatus(const Profile& profile, const FilePageTexts& texts, TransferRunner& runner, QWidget* page);
    ~TransferStatus() override;

    // The line, then the bar with its Stop button, for the page's layout,
    // made when the page places them.
    QLabel* MakeLine();
    QWidget* MakeBar();
    // What a transfer's steps report to; once both are made.
    BarProgress& Progress() { return *progress_; }

    // Before a transfer: the estimate on the line and after each status text.
    void Begin(const std::string& estimate);
    // After it: the estimate goes; a transfer that ran is reported with how
    // long it took, and one that stopped keeps its bar up, so the user sees
    // how far it came. One that never ran leaves the line as it was.
    void Finish(TransferKind kind, const TransferRun& run);
    // Tells on the line that the chosen timing may misread this cable, and
    // takes that advice away once it no longer holds.
    void AdviseOnCable(const ModuleLink& link);
    // A text of the page's own on the line, as a report is shown.
    void Say(const QString& text);
    // The port has closed: what the line said was of the module it led to.
    void Clear();

signals:
    // Every text the line is given, as it is given.
    void LineChanged(const QString& text);

private:
    void SetLine(const QString& text);

    const Profile& profile_;
    const FilePageTexts& texts_;
    TransferRunner& runner_;
    QWidget* page_;
    QLabel* line_ = nullptr;
    QProgressBar* bar_ = nullptr;
    std::unique_ptr<BarProgress> progress_;
};

}  // namespace korvex
