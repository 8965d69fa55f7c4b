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
// area. The pages lay out with the window, which may be resized down to
// what the largest page needs, and maximised; it opens where it last
// closed, centred at its first start.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    // The size at the first start, or what the largest page needs if more.
    static constexpr QSize kStartSize{640, 480};

    explicit CMainFrame(AppModel& model, QWidget* parent = nullptr);
    ~CMainFrame() override;

    CKorvexView* View() const { return view_; }
    // The page button of a page number 1..8; the View menu holds the same
    // action, with Ctrl+1..Ctrl+8 in the toolbar's order.
    QAction* PageAction(int id) const { return pageActions_[id - 1]; }
    QAction* AboutAction() const { return about_; }
    QToolBar* ToolBar() const { return toolBar_; }

    // Where the window goes when first shown.
    static QPoint CentredPosition(const QSize& screen, const QSize& window);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateActions();
    void UpdatePageButtons(int current);
    void ShowAbout();
    void PlaceAtStart();

    AppModel& model_;
    CKorvexView* view_;
    EditsGuard* edits_ = nullptr;
    TransferGuard* transferGuard_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QAction* about_ = nullptr;
    std::array<QAction*, 8> pageActions_{};
};

}  // namespace korvex
