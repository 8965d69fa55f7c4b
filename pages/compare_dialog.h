#pragma once
#include <QDialog>
#include <vector>

#include "app/app_model.h"
#include "model/settings_rows.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace korvex {

// The differences between the settings being edited and the module's, as
// a sortable table. "Take from module" copies the module's value of the
// selected rows into the settings being edited and drops those rows.
class CompareDialog : public QDialog {
    Q_OBJECT
public:
    CompareDialog(AppModel& model, ConfigSettings module, QWidget* parent = nullptr);

    // True once any row was taken: the pages must reload.
    bool Taken() const { return taken_; }
    QTableWidget* Table() const { return table_; }
    QPushButton* TakeButton() const { return take_; }
    void TakeSelected();

private:
    void Fill();

    AppModel& model_;
    ConfigSettings module_;
    std::vector<DiffRow> rows_;
    QTableWidget* table_ = nullptr;
    QLabel* empty_ = nullptr;
    QPushButton* take_ = nullptr;
    bool taken_ = false;
};

}  // namespace korvex
