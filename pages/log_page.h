#pragma once
#include <functional>
#include <vector>

#include "link/device_link.h"

#include "log/log_rows.h"
#include "app/page.h"

class QCheckBox;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace korvex {

// The page behind "Журнал": reads the module's event log into a list, erases
// it in the module and saves the list as CSV. The list is the only store of
// the shown log; the export reads its cell texts back. The three buttons
// work only while the File page's port is open: their state is checked
// whenever the page handles input, before the input reaches a control.
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
    // The transfer on the open port with the bar as its progress; port
    // failures and outcomes are told to the user. True when it succeeded.
    bool RunTransfer(const std::function<LinkOutcome(TwoWireBus&, Progress&)>& work);
    void Tell(const QString& text, const QString& detail = {});

    QProgressBar* bar_;
    QPushButton* readButton_;
    QPushButton* clearButton_;
    QPushButton* saveButton_;
    QCheckBox* showCodeBox_;
    QTableWidget* list_;
    bool showEventCode_ = false;
    bool transferRunning_ = false;
};

}  // namespace korvex
