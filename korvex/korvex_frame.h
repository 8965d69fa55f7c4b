#pragma once
#include <QMainWindow>
#include <array>

#include "app/app_model.h"

class QAction;
class QLabel;
class QToolBar;

namespace korvex {

class CKorvexView;
class EditsGuard;
class TransferGuard;

// The main window of the full program: menu, toolbar with the About button
// and the eight page buttons, status bar, and the page host as its work
// area. The window has one fixed size; maximising it only centres it.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    static constexpr QSize kWindowSize{640, 480};

    explicit CMainFrame(AppModel& model, QWidget* parent = nullptr);
    ~CMainFrame() override;

    CKorvexView* View() const { return view_; }
    // The page button of a page number 1..8.
    QAction* PageAction(int id) const { return pageActions_[id - 1]; }
    QAction* AboutAction() const { return about_; }
    QToolBar* ToolBar() const { return toolBar_; }

    // The fixed size: 640 by 480, or what the largest page needs if more.
    QSize FixedSize() const;
    // Where the window goes when maximised or first shown.
    static QPoint CentredPosition(const QSize& screen, const QSize& window);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void CreateActions();
    void UpdatePageButtons(int current);
    void ShowAbout();
    void Centre();

    CKorvexView* view_;
    EditsGuard* edits_ = nullptr;
    TransferGuard* transferGuard_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QAction* about_ = nullptr;
    std::array<QAction*, 8> pageActions_{};
};

}  // namespace korvex
