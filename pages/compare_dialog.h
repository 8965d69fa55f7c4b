#pragma once
#include <QDialog>
#include <memory>
#include <vector>

#include "app/app_model.h"
#include "model/settings_rows.h"
#include "voice/voice_store.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace korvex {

// The differences between the settings being edited and the module's, as
// a sortable table. "Take from module" copies the module's value of the
// selected rows into the settings being edited and drops those rows. With
// the module's voice directory the slots' lengths are compared too; those
// rows only tell (a slot's sound is taken by Read sound).
class CompareDialog : public QDialog {
    Q_OBJECT
public:
    CompareDialog(AppModel& model, ConfigSettings module, std::unique_ptr<VoiceStore> moduleVoice = nullptr,
                  QWidget* parent = nullptr);

    // True once any row was taken: the pages must reload.
    bool Taken() const { return taken_; }
    QTableWidget* Table() const { return table_; }
    QPushButton* TakeButton() const { return take_; }
    void TakeSelected();

private:
    void Fill();

    AppModel& model_;
    ConfigSettings module_;
    std::unique_ptr<VoiceStore> moduleVoice_;  // null: the slots are not compared
    std::vector<DiffRow> rows_;
    QTableWidget* table_ = nullptr;
    QLabel* empty_ = nullptr;
    QPushButton* take_ = nullptr;
    bool taken_ = false;
};

}  // namespace korvex
