#pragma once
#include <QDialog>
#include <array>

#include "app/app_model.h"
#include "app/page.h"

class QFrame;
class QPushButton;

namespace korvex {

class EditsGuard;
class TransferGuard;
class FilePage;

// The compact program's only window: a row of page buttons, "Exit", and
// the frame the five pages live in. A page button only hides the pages and
// shows its own; a value being typed is stored by its field losing the
// focus to the button. Zones also reloads its page, since the phones and
// texts it shows may have changed elsewhere. Enter and Escape do nothing;
// "Exit", the close box, Alt+F4 and Ctrl+Q end the program, asking first
// whether to save unsaved edits. The dialog may be resized and maximised,
// and opens where it last closed.
//
// Buttons by object name: "pageFile", "pagePhones", "pageMessages",
// "pageZones", "pageProperties", "exit"; the frame is "pageHost".
class MainDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kPageCount = 5;

    explicit MainDialog(AppModel& model, QWidget* parent = nullptr);
    // Closes the port, then deletes the pages.
    ~MainDialog() override;

    // Hides pages 1..5 and shows page n; any other n leaves all hidden.
    void ShowPage(int n);
    // Reloads Properties, Messages, Phones and Zones from the settings.
    void RefreshAllPages();

    // The page with that number; null for any other number.
    Page* GetPage(int n) const;
    FilePage* GetFilePage() const;
    QPushButton* PageButton(PageId id) const { return pageButtons_[int(id) - 1]; }

    // The dialog's own OK and Cancel: Enter and Escape end nothing.
    void accept() override {}
    void reject() override {}

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CreatePages();
    void OnPageButton(PageId id);

    AppModel& model_;
    QFrame* pageHost_ = nullptr;
    std::array<Page*, kPageCount> pages_{};
    std::array<QPushButton*, kPageCount> pageButtons_{};
    QPushButton* exit_ = nullptr;
    EditsGuard* edits_ = nullptr;
    TransferGuard* transferGuard_ = nullptr;
};

}  // namespace korvex
