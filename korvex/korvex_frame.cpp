#include "korvex/korvex_frame.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>

#include "korvex/about_dialog.h"
#include "korvex/frame_texts.h"
#include "korvex/korvex_view.h"
#include "pages/file_page.h"
#include "app/demo_pace.h"
#include "app/edits_guard.h"
#include "app/manual.h"
#include "app/qt_paths.h"
#include "app/toolbar_icons.h"
#include "app/transfer_guard.h"
#include "app/window_place.h"
#include "pages/demo_pace_texts.h"
#include "pages/log_page.h"
#include "pages/module_tools_texts.h"
#include "pages/report_export.h"

namespace korvex {

namespace {

// The toolbar's order of the page buttons.
constexpr PageId kToolbarOrder[] = {PageId::File,       PageId::Phones,       PageId::Messages, PageId::Zones,
                                    PageId::Properties, PageId::Communicator, PageId::Names,    PageId::Log};

}  // namespace

CMainFrame::CMainFrame(AppModel& model, QWidget* parent) : QMainWindow(parent), model_(model) {
    const FrameTexts& texts = kFrameRussian;
    setWindowIcon(ApplicationIcon());

    view_ = new CKorvexView(model, this);
    setCentralWidget(view_);

    auto* ready = new QLabel(QtText(texts.ready), this);
    ready->setObjectName("ready");
    ready->setContentsMargins(4, 0, 0, 0);
    statusBar()->addWidget(ready, 1);

    CreateActions();

    connect(view_, &CKorvexView::CurrentPageChanged, this, &CMainFrame::UpdatePageButtons);
    // No closing under a running transfer without a question; Escape stops it.
    transferGuard_ = new TransferGuard(model, this);
    model.startSettings = model.settings;
    // The title names the project file and marks unsaved edits; closing asks.
    edits_ = new EditsGuard(
        model, this,
        {QtText(texts.title), QtText(texts.askSaveFile), QtText(texts.askSaveNew), QtText(texts.discard),
         QtText(texts.askSound), QtText(texts.dropSound), QtText(texts.cancel)},
        [this] { view_->ShowPage(view_->CurrentPage()); }, [this] { return view_->GetFilePage()->SaveEdits(); });

    PlaceAtStart();
}

CMainFrame::~CMainFrame() { transferGuard_->StopAndWait(); }

void CMainFrame::CreateActions() {
    const FrameTexts& texts = kFrameRussian;

    QMenu* file = menuBar()->addMenu(QtText(texts.fileMenu));
    // The File page's project buttons, from any page.
    QAction* open = file->addAction(QtText(texts.open));
    open->setObjectName("openProject");
    open->setShortcut(QKeySequence::Open);
    connect(open, &QAction::triggered, this, [this] { view_->GetFilePage()->OpenProject(); });
    QAction* save = file->addAction(QtText(texts.save));
    save->setObjectName("saveProject");
    save->setShortcut(QKeySequence::Save);
    connect(save, &QAction::triggered, this, [this] {
        view_->ShowPage(view_->CurrentPage());  // the field being typed in stores its text first
        view_->GetFilePage()->SaveProject();
    });
    QAction* report = file->addAction(QString::fromUtf8(kModuleToolsRussian.report));
    report->setObjectName("report");
    connect(report, &QAction::triggered, this, [this] {
        view_->ShowPage(view_->CurrentPage());  // the field being typed in stores its text first
        const auto* log = dynamic_cast<const LogPage*>(view_->GetPage(static_cast<int>(PageId::Log)));
        ShowReportChooser(view_->Model(), log ? log->ListedRows() : std::vector<LogRow>{}, this);
    });
    file->addSeparator();
    QAction* exit = file->addAction(QtText(texts.exit));
    exit->setObjectName("exit");
    exit->setStatusTip(QtText(texts.exitPrompt));
    exit->setMenuRole(QAction::QuitRole);
    // Ctrl+Q on every system (Qt's standard Quit has no key on Windows).
    exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(exit, &QAction::triggered, this, &QWidget::close);

    toolBar_ = new QToolBar(this);
    toolBar_->setObjectName("toolBar");
    toolBar_->setIconSize(QSize(24, 24));
    toolBar_->setMovable(true);
    toolBar_->setFloatable(false);
    toolBar_->toggleViewAction()->setVisible(false);
    addToolBar(Qt::TopToolBarArea, toolBar_);

    // One action a page: its toolbar button and its View menu entry, Ctrl+1
    // to Ctrl+8 in the toolbar's order, so every page is a key away.
    for (int place = 0; place < CKorvexView::kPageCount; ++place) {
        const PageId id = kToolbarOrder[place];
        const QString tip = QtText(texts.pageTips[int(id) - 1]);
        auto* action = new QAction(PageIcon(id), tip, this);
        action->setObjectName(QStringLiteral("page%1").arg(int(id)));
        action->setToolTip(tip);
        action->setStatusTip(tip);
        action->setCheckable(true);
        action->setShortcut(QKeySequence(Qt::CTRL | (Qt::Key_1 + place)));
        // The button shows the current page, not its own clicks.
        connect(action, &QAction::triggered, this, [this, id] {
            view_->ChoosePage(id);
            UpdatePageButtons(view_->CurrentPage());
        });
        pageActions_[int(id) - 1] = action;
    }

    QMenu* view = menuBar()->addMenu(QtText(texts.viewMenu));
    QAction* showToolBar = view->addAction(QtText(texts.toolbar));
    showToolBar->setObjectName("showToolBar");
    showToolBar->setCheckable(true);
    showToolBar->setChecked(true);
    connect(showToolBar, &QAction::toggled, toolBar_, &QWidget::setVisible);
    QAction* showStatusBar = view->addAction(QtText(texts.statusBar));
    showStatusBar->setObjectName("showStatusBar");
    showStatusBar->setCheckable(true);
    showStatusBar->setChecked(true);
    connect(showStatusBar, &QAction::toggled, statusBar(), &QWidget::setVisible);
    view->addSeparator();
    QAction* fast = view->addAction(QtText(texts.fastTransfer));
    fast->setObjectName("fastTransfer");
    fast->setStatusTip(QtText(texts.fastTransferPrompt));
    fast->setCheckable(true);
    fast->setChecked(view_->Model().link.Timing() == BusTiming::Fast);
    connect(fast, &QAction::toggled, this, [this](bool on) { view_->GetFilePage()->SetFastTransfer(on); });
    // The demo module's pace, taken when the port opens: chosen while it is closed.
    const DemoPaceTexts& paceTexts = kDemoPaceRussian;
    QMenu* pace = view->addMenu(QtText(paceTexts.title));
    pace->menuAction()->setObjectName("demoPaceMenu");
    pace->menuAction()->setStatusTip(QtText(paceTexts.prompt));
    auto* paces = new QActionGroup(pace);
    const int chosen = DemoPaceChoice(view_->Model().link.DemoPace());
    for (int i = 0; i < static_cast<int>(paceTexts.choices.size()); ++i) {
        QAction* choice = pace->addAction(QtText(paceTexts.choices[static_cast<std::size_t>(i)]));
        choice->setObjectName(QStringLiteral("demoPace%1").arg(i));
        choice->setStatusTip(QtText(paceTexts.prompt));
        choice->setCheckable(true);
        choice->setChecked(i == chosen);
        paces->addAction(choice);
        connect(choice, &QAction::triggered, this, [this, i] { view_->GetFilePage()->SetDemoPace(i); });
    }
    connect(view_->GetFilePage(), &FilePage::PortStateChanged, this, [pace, paces](bool open) {
        pace->menuAction()->setEnabled(!open);
        paces->setEnabled(!open);
    });
    view->addSeparator();
    for (PageId id : kToolbarOrder) view->addAction(pageActions_[int(id) - 1]);

    QMenu* help = menuBar()->addMenu(QtText(texts.helpMenu));
    QAction* manual = help->addAction(QtText(texts.manual));
    manual->setObjectName("manual");
    manual->setToolTip(QtText(texts.manualTip));
    manual->setShortcut(QKeySequence::HelpContents);
    connect(manual, &QAction::triggered, this, [this] { OpenManual(model_, this); });
    about_ = help->addAction(AboutIcon(), QtText(texts.about));
    about_->setObjectName("about");
    about_->setToolTip(QtText(texts.aboutTip));
    about_->setMenuRole(QAction::AboutRole);
    connect(about_, &QAction::triggered, this, &CMainFrame::ShowAbout);

    toolBar_->addAction(about_);
    toolBar_->addSeparator();
    for (PageId id : kToolbarOrder) toolBar_->addAction(pageActions_[int(id) - 1]);
}

void CMainFrame::UpdatePageButtons(int current) {
    for (int id = 1; id <= 8; ++id) pageActions_[id - 1]->setChecked(id == current);
}

void CMainFrame::ShowAbout() {
    AboutDialog dialog(this);
    dialog.exec();
}

QPoint CMainFrame::CentredPosition(const QSize& screen, const QSize& window) {
    return QPoint((screen.width() - window.width()) / 2, (screen.height() - window.height()) / 2);
}

void CMainFrame::PlaceAtStart() {
    if (RestoreWindowPlace(*model_.dialogs, *this)) return;
    resize(kStartSize.expandedTo(minimumSizeHint()));
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    move(area.topLeft() + CentredPosition(area.size(), frameGeometry().size()));
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // The TransferGuard has asked about a close while a transfer runs and
    // put it off until the transfer ended, so the port is idle here.
    if (!edits_->MayClose()) {
        event->ignore();
        return;
    }
    RememberWindowPlace(*model_.dialogs, *this);
    view_->CloseLink();
    event->accept();
}

}  // namespace korvex
