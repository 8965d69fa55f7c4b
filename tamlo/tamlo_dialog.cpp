#include "tamlo/tamlo_dialog.h"

#include <QAction>
#include <QButtonGroup>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "tamlo/tamlo_texts.h"
#include "pages/file_page.h"
#include "pages/messages_page.h"
#include "pages/phones_page.h"
#include "pages/properties_page.h"
#include "pages/zones_page.h"
#include "app/edits_guard.h"
#include "app/manual.h"
#include "app/qt_paths.h"
#include "app/run_transfer.h"
#include "app/toolbar_icons.h"
#include "app/transfer_guard.h"
#include "app/transfer_locks.h"
#include "app/window_place.h"

namespace korvex {

namespace {

// The row of page buttons, left to right.
constexpr PageId kButtonOrder[] = {PageId::File, PageId::Phones, PageId::Messages, PageId::Zones,
                                   PageId::Properties};

const char* ButtonName(PageId id) {
    switch (id) {
        case PageId::File: return "pageFile";
        case PageId::Properties: return "pageProperties";
        case PageId::Messages: return "pageMessages";
        case PageId::Phones: return "pagePhones";
        case PageId::Zones: return "pageZones";
        default: return "";
    }
}

// The settings pages in the order they reload.
constexpr PageId kSettingsPages[] = {PageId::Properties, PageId::Messages, PageId::Phones, PageId::Zones};

}  // namespace

MainDialog::MainDialog(AppModel& model, QWidget* parent) : QDialog(parent), model_(model) {
    const TamloTexts& texts = kTamloTexts;
    // The program's one window: a caption, minimise and maximise boxes, and
    // a close box that ends the program as Exit does. It may be resized
    // down to what the largest page needs; the pages lay out with it.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setWindowIcon(ApplicationIcon());
    setSizeGripEnabled(true);

    auto* top = new QVBoxLayout(this);

    auto* row = new QHBoxLayout;
    // Push-like radio buttons: the one pressed last stays down.
    auto* group = new QButtonGroup(this);
    group->setExclusive(true);
    for (PageId id : kButtonOrder) {
        auto* button = new QPushButton(QtText(texts.pageButtons[int(id) - 1]), this);
        button->setObjectName(ButtonName(id));
        button->setCheckable(true);
        group->addButton(button);
        row->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this, id] { OnPageButton(id); });
        pageButtons_[int(id) - 1] = button;
    }
    row->addStretch(1);
    // The dialog has no menu bar: Help is a button with the menu; F1 works anywhere in it.
    auto* help = new QPushButton(QtText(texts.help), this);
    help->setObjectName("help");
    auto* helpMenu = new QMenu(help);
    QAction* manual = helpMenu->addAction(QtText(texts.manual));
    manual->setObjectName("manual");
    manual->setToolTip(QtText(texts.manualTip));
    manual->setShortcut(QKeySequence::HelpContents);
    manual->setShortcutContext(Qt::WindowShortcut);
    help->setMenu(helpMenu);
    addAction(manual);
    connect(manual, &QAction::triggered, this, [this] { OpenManual(model_, this); });
    row->addWidget(help);
    exit_ = new QPushButton(QtText(texts.exit), this);
    exit_->setObjectName("exit");
    row->addWidget(exit_);
    // Ends the dialog, and with it the program, as the close box does; so does Ctrl+Q.
    connect(exit_, &QPushButton::clicked, this, &QWidget::close);
    auto* quit = new QAction(this);
    quit->setObjectName("quit");
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    addAction(quit);
    connect(quit, &QAction::triggered, this, &QWidget::close);
    top->addLayout(row);

    pageHost_ = new QFrame(this);
    pageHost_->setObjectName("pageHost");
    pageHost_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    top->addWidget(pageHost_, 1);

    CreatePages();
    ShowPage(0);

    // No number starts international.
    for (std::string& phone : model_.settings.phones) {
        if (phone.empty())
            phone.push_back('-');
        else
            phone[0] = '-';
    }

    // No closing under a running transfer without a question; Escape stops it.
    transferGuard_ = new TransferGuard(model_, this);
    model_.startSettings = model_.settings;
    // The title names the project file and marks unsaved edits; closing asks.
    edits_ = new EditsGuard(
        model_, this,
        {QtText(texts.caption), QtText(texts.askSaveFile), QtText(texts.askSaveNew), QtText(texts.discard),
         QtText(texts.askSound), QtText(texts.dropSound), QtText(texts.cancel)},
        [this] {
            for (Page* page : pages_) page->CommitEdits();
        },
        [this] { return GetFilePage()->SaveEdits(); });

    // Enter on a focused button would press it; here Enter does nothing.
    for (QPushButton* button : findChildren<QPushButton*>()) button->setAutoDefault(false);

    // Where it last closed; centred at the first start.
    if (RestoreWindowPlace(*model_.dialogs, *this)) return;
    resize(sizeHint());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        const QSize size = frameGeometry().size();
        move(area.topLeft() + QPoint((area.width() - size.width()) / 2, (area.height() - size.height()) / 2));
    }
}

MainDialog::~MainDialog() {
    transferGuard_->StopAndWait();
    if (pages_[0]) {
        // The close event has closed the port and told a failed save.
        static_cast<void>(model_.link.Close());
        delete pages_[0];
        pages_[0] = nullptr;
    }
    for (int i = 1; i < kPageCount; ++i) {
        delete pages_[i];
        pages_[i] = nullptr;
    }
}

void MainDialog::CreatePages() {
    auto* layout = new QGridLayout(pageHost_);
    auto* file = new FilePage(model_, pageHost_);
    connect(file, &FilePage::ConfigurationLoaded, this, &MainDialog::RefreshAllPages);
    pages_[0] = file;
    pages_[1] = new PropertiesPage(model_, pageHost_);
    pages_[2] = new MessagesPage(model_, pageHost_);
    pages_[3] = new PhonesPage(model_, pageHost_);
    pages_[4] = new ZonesPage(model_, pageHost_);
    // The settings pages show what a configuration transfer reads or writes.
    for (int i = 1; i < kPageCount; ++i) LockDuring(model_.transfers, Locked::Settings, pages_[i]);
    for (Page* page : pages_) {
        // The frame is as large as the largest page, shown or not, and
        // every page fills it.
        QSizePolicy policy = page->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        page->setSizePolicy(policy);
        layout->addWidget(page, 0, 0);
    }
}

Page* MainDialog::GetPage(int n) const { return n >= 1 && n <= kPageCount ? pages_[n - 1] : nullptr; }

FilePage* MainDialog::GetFilePage() const { return static_cast<FilePage*>(pages_[0]); }

void MainDialog::ShowPage(int n) {
    for (Page* page : pages_)
        if (page) page->hide();
    if (Page* page = GetPage(n)) page->show();
}

void MainDialog::RefreshAllPages() {
    for (PageId id : kSettingsPages)
        if (Page* page = GetPage(int(id))) page->RefreshFromModel();
}

void MainDialog::OnPageButton(PageId id) {
    ShowPage(int(id));
    if (id == PageId::Zones) GetPage(int(id))->RefreshFromModel();
}

void MainDialog::closeEvent(QCloseEvent* event) {
    // The close box, Alt+F4 and Exit end the program, once unsaved edits
    // are saved or given up; the TransferGuard has asked about a close while a
    // transfer runs and put it off until the transfer ended.
    if (!edits_->MayClose()) {
        event->ignore();
        return;
    }
    RememberWindowPlace(*model_.dialogs, *this);
    ClosePort(model_, this);
    QDialog::accept();
    event->accept();
}

void MainDialog::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            event->accept();
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

}  // namespace korvex
