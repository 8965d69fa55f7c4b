#pragma once
#include <QWidget>
#include <array>

#include "app/app_model.h"
#include "app/page.h"

namespace korvex {

class CommunicatorPage;
class FilePage;

// The work area of the main window. It creates the eight pages once, keeps
// them hidden, and shows one at a time. A switch is also the commit point:
// the field being typed in stores its text, the pages that show the
// settings reload, and only then is the chosen page shown.
class CKorvexView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kPageCount = 8;

    explicit CKorvexView(AppModel& model, QWidget* parent = nullptr);
    ~CKorvexView() override;

    // The page with that number; null for 0 and numbers above 8.
    Page* GetPage(int id) const;
    FilePage* GetFilePage() const;
    CommunicatorPage* GetCommunicatorPage() const;

    // The page chosen last (0 before any).
    int CurrentPage() const { return currentPage_; }

    // Commits the field being edited, reloads the settings pages, hides
    // every page and shows page n (none when n is not 1..8).
    void ShowPage(int n);
    // Reloads Properties, Messages, Phones and Zones from the settings.
    void RefreshAllPages();
    // A page command: the page becomes current and is shown, with the
    // extra steps some pages need.
    void ChoosePage(PageId id);

    // Closes the port and tells a simulated module's failed save; the
    // window calls it when it closes.
    void CloseLink();
    // True while a page runs a transfer on the link.
    bool TransferRunning() const;
    AppModel& Model() { return model_; }

signals:
    void CurrentPageChanged(int id);

private:
    void CreatePages();

    AppModel& model_;
    int currentPage_ = 0;
    std::array<Page*, kPageCount> pages_{};
};

}  // namespace korvex
