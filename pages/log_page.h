#pragma once
#include <functional>
#include <vector>

#include "link/device_link.h"

#include "log/log_rows.h"
#include "app/page.h"
#include "app/run_transfer.h"
#include "app/transfer_report.h"

#include <memory>

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace korvex {

class BarProgress;

// The page behind "Журнал": reads the module's event log into a list, erases
// it in the module and saves the list as CSV. The list is the only store of
// the shown log; the export reads its cell texts back. Read and clear work
// only while the File page's port is open, saving whenever the list holds
// rows: their state is checked whenever the page handles input, before the
// input reaches a control.
class LogPage : public Page {
public:
    LogPage(AppModel& model, QWidget* parent = nullptr);
    ~LogPage() override;

    // The button handlers.
    void ReadLogFromModule();
    void ClearModuleLog();
    void SaveLogCsv();

    // The listed rows as the list holds them.
    std::vector<LogRow> ListedRows() const;
    bool ShowEventCode() const { return showEventCode_; }

    QPushButton* ReadButton() const { return readButton_; }
    QPushButton* ClearButton() const { return clearButton_; }
    QPushButton* SaveButton() const { return saveButton_; }
    QCheckBox* ShowCodeBox() const { return showCodeBox_; }
    QTableWidget* List() const { return list_; }
    QProgressBar* Bar() const { return bar_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void UpdateButtons();
    void FillList(const std::vector<LogRow>& rows);
    // The transfer on the open port through the programs' one runner, with
    // the bar as its progress; once it has ended `done` takes its state,
    // then the status line says what came of it.
    template <typename State>
    void Run(TransferKind kind, State state, std::function<LinkOutcome(TwoWireBus&, State&, Progress&)> work,
             std::function<int(State&, const TransferRun&)> done);
    void Tell(const QString& text, const QString& detail = {});

    QProgressBar* bar_;
    std::unique_ptr<BarProgress> progress_;
    QPushButton* readButton_;
    QPushButton* clearButton_;
    QPushButton* saveButton_;
    QCheckBox* showCodeBox_;
    QTableWidget* list_;
    QLabel* status_;
    QLabel* emptyText_;
    bool showEventCode_ = false;
};

}  // namespace korvex
