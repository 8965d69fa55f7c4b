#include "korvex/korvex_view.h"

#include <QGridLayout>

#include "pages/log_page.h"
#include "pages/communicator_page.h"
#include "pages/file_page.h"
#include "pages/messages_page.h"
#include "pages/names_page.h"
#include "pages/phones_page.h"
#include "pages/properties_page.h"
#include "pages/zones_page.h"
#include "app/app_flags.h"
#include "app/run_transfer.h"
#include "app/transfer_locks.h"

namespace korvex {

namespace {
constexpr int kSettingsPages[] = {int(PageId::Properties), int(PageId::Messages), int(PageId::Phones),
                                  int(PageId::Zones)};
}

CKorvexView::CKorvexView(AppModel& model, QWidget* parent) : QWidget(parent), model_(model) {
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    CreatePages();
    for (Page* page : pages_) {
        // The work area holds the largest page, shown or not, and every
        // page fills it: the window does not jump as the pages switch.
        QSizePolicy policy = page->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        page->setSizePolicy(policy);
        layout->addWidget(page, 0, 0);
        page->hide();
    }
}

CKorvexView::~CKorvexView() {
    // The frame's close has closed the port and told a failed save.
    if (pages_[0]) static_cast<void>(model_.link.Close());
    for (Page*& page : pages_) {
        delete page;
        page = nullptr;
    }
}

void CKorvexView::CreatePages() {
    AppModel& m = model_;
    auto* file = new FilePage(m, this);
    connect(file, &FilePage::ConfigurationLoaded, this, &CKorvexView::RefreshAllPages);
    pages_[0] = file;
    pages_[1] = new PropertiesPage(m, this);
    pages_[2] = new MessagesPage(m, this);
    pages_[3] = new PhonesPage(m, this);
    pages_[4] = new ZonesPage(m, this);
    pages_[5] = new LogPage(m, this);
    pages_[6] = new NamesPage(m, this);
    pages_[7] = new CommunicatorPage(m, this);
    // The settings pages show what a configuration transfer reads or writes.
    for (Page* page : pages_)
        if (page->Id() != PageId::File && page->Id() != PageId::Log) LockDuring(m.transfers, Locked::Settings, page);
}

Page* CKorvexView::GetPage(int id) const { return id >= 1 && id <= kPageCount ? pages_[id - 1] : nullptr; }

FilePage* CKorvexView::GetFilePage() const { return static_cast<FilePage*>(pages_[0]); }

CommunicatorPage* CKorvexView::GetCommunicatorPage() const { return static_cast<CommunicatorPage*>(pages_[7]); }

void CKorvexView::ShowPage(int n) {
    if (!pages_[0]) return;
    // The field being typed in stores its text before anything reloads.
    for (int id = 1; id < kPageCount; ++id) pages_[id - 1]->CommitEdits();
    CommunicatorPage* communicator = GetCommunicatorPage();
    communicator->UpdateControls();
    communicator->CommitEdits();
    for (int id : kSettingsPages) pages_[id - 1]->RefreshFromModel();
    for (Page* page : pages_) page->hide();
    if (Page* page = GetPage(n)) page->show();
}

void CKorvexView::RefreshAllPages() {
    for (int id : kSettingsPages)
        if (Page* page = GetPage(id)) page->RefreshFromModel();
}

void CKorvexView::ChoosePage(PageId id) {
    currentPage_ = int(id);
    ShowPage(currentPage_);
    switch (id) {
        case PageId::Properties:
            // Latin only until a Messages field that allows Cyrillic has the focus.
            SetCyrillicAllowed(0);
            break;
        case PageId::Zones:
            pages_[int(PageId::Zones) - 1]->RefreshFromModel();
            break;
        case PageId::Communicator: {
            CommunicatorPage* communicator = GetCommunicatorPage();
            communicator->RebuildPhoneChoices();
            communicator->LoadCurrentAction();
            communicator->UpdateControls();
            break;
        }
        default:
            break;
    }
    emit CurrentPageChanged(currentPage_);
}

void CKorvexView::CloseLink() { ClosePort(model_, this); }

bool CKorvexView::TransferRunning() const { return model_.transfers.Running(); }

}  // namespace korvex
