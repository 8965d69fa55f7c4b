#include "pages/log_page.h"

#include "app/qt_paths.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QFile>
#include <QFont>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <filesystem>

#include "link/serial_exception.h"
#include "log/log_csv.h"
#include "log/log_transfer.h"
#include "model/page_names.h"
#include "app/bar_progress.h"
#include "app/run_transfer.h"
#include "app/transfer_guard.h"
#include "app/transfer_report.h"
#include "pages/stop_button.h"

namespace korvex {

namespace {

constexpr const char* kReadText = "Вычитать журнал";
constexpr const char* kClearText = "Очистить журнал";
constexpr const char* kSaveText = "Сохранить как csv...";
constexpr const char* kShowCodeText = "Показывать код события";
constexpr const char* kSaveTitle = "Save csv file";
// Two entries, both for *.csv, as the program always offered them.
constexpr const char* kSaveFilter = "CSV files (*.csv);;cfg files(*.csv)";
constexpr const char* kSaveSuffix = "csv";
constexpr const char* kCannotSave = "Не удалось сохранить файл";

struct ColumnLook {
    Qt::Alignment alignment;
    int width;       // pixels at the page's original 8 pt font
    int hexDigits;   // cells of so many hex digits (0: not a hex cell)
};
constexpr std::array<ColumnLook, kLogColumnCount> kColumns = {{
    {Qt::AlignLeft, 25, 0},
    {Qt::AlignHCenter, 40, 0},
    {Qt::AlignHCenter, 70, 0},
    {Qt::AlignHCenter, 43, 4},
    {Qt::AlignHCenter, 50, 2},
    {Qt::AlignLeft, 270, 0},
    {Qt::AlignLeft, 80, 2},
}};

constexpr int kPagePointSize = 8;
// Room a cell needs beside its text.
constexpr int kCellPadding = 8;

// The widest text a column can hold, so that the desktop's font (wider than
// the 8 pt font the widths were made for) never cuts a time or a date short.
int WidestCell(const QFontMetrics& metrics, std::size_t column, Language language) {
    QStringList samples;
    if (const int digits = kColumns[column].hexDigits) {
        for (QChar c : QStringLiteral("0123456789ABCDEF")) samples << QString(digits, c);
    } else if (column == kLogColPosition) {
        samples << QStringLiteral("888");
    } else if (column == kLogColTime) {
        samples << QStringLiteral("88:88");
    } else if (column == kLogColDate) {
        for (int month = 1; month <= 12; ++month) samples << QStringLiteral("88 ") + QtText(MonthName(month, language));
    }
    int widest = 0;
    for (const QString& text : samples) widest = std::max(widest, metrics.horizontalAdvance(text));
    return widest;
}

// What may follow a change of the port's state: user input, and the pointer
// coming over a control.
bool IsInput(QEvent::Type type) { return IsUserInput(type) || type == QEvent::Enter || type == QEvent::HoverMove; }

}  // namespace

LogPage::LogPage(AppModel& model, QWidget* parent) : Page(PageId::Log, model, parent) {
    // The page was laid out for an 8 pt font; at that size the seven columns
    // fit the fixed main window with every demo event text whole.
    QFont pageFont = font();
    pageFont.setPointSize(kPagePointSize);
    setFont(pageFont);

    bar_ = new QProgressBar(this);
    bar_->setTextVisible(false);
    bar_->setFixedHeight(12);
    // The transfers hide the bar when they end; the list must not move.
    QSizePolicy barPolicy = bar_->sizePolicy();
    barPolicy.setRetainSizeWhenHidden(true);
    bar_->setSizePolicy(barPolicy);
    bar_->hide();

    readButton_ = new QPushButton(QString::fromUtf8(kReadText), this);
    clearButton_ = new QPushButton(QString::fromUtf8(kClearText), this);
    saveButton_ = new QPushButton(QString::fromUtf8(kSaveText), this);
    showCodeBox_ = new QCheckBox(QString::fromUtf8(kShowCodeText), this);
    for (QPushButton* button : {readButton_, clearButton_, saveButton_}) button->setAutoDefault(false);
    progress_ = std::make_unique<BarProgress>(bar_, nullptr);
    bar_->setObjectName("logBar");
    readButton_->setObjectName("readLog");
    clearButton_->setObjectName("clearLog");
    saveButton_->setObjectName("saveCsv");
    showCodeBox_->setObjectName("showEventCode");

    list_ = new QTableWidget(0, static_cast<int>(kLogColumnCount), this);
    list_->setObjectName("logList");
    list_->setAccessibleName(QString::fromUtf8(kPageNamesRussian.log));
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setSortingEnabled(false);
    list_->setShowGrid(true);
    list_->setWordWrap(false);
    list_->setTextElideMode(Qt::ElideRight);
    list_->verticalHeader()->hide();
    list_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 4);
    QHeaderView* header = list_->horizontalHeader();
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    header->setMinimumSectionSize(8);
    const auto headers = LogColumnHeaders(GetProfile().language);
    for (std::size_t c = 0; c < kLogColumnCount; ++c) {
        auto* item = new QTableWidgetItem(QtText(headers[c]));
        item->setTextAlignment(kColumns[c].alignment | Qt::AlignVCenter);
        list_->setHorizontalHeaderItem(static_cast<int>(c), item);
    }
    // Every column but the event text is as wide as its widest text; the
    // event text takes the rest of the list.
    const QFontMetrics cellMetrics(list_->font());
    const QFontMetrics headerMetrics(header->font());
    for (std::size_t c = 0; c < kLogColumnCount; ++c) {
        const int fit = std::max(WidestCell(cellMetrics, c, GetProfile().language),
                                 headerMetrics.horizontalAdvance(QtText(headers[c])));
        list_->setColumnWidth(static_cast<int>(c), std::max(kColumns[c].width, fit + kCellPadding));
    }
    header->setSectionResizeMode(kLogColEvent, QHeaderView::Stretch);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(readButton_, 81);
    buttons->addSpacing(6);
    buttons->addWidget(clearButton_, 81);
    buttons->addSpacing(6);
    buttons->addWidget(saveButton_, 81);
    buttons->addSpacing(30);
    buttons->addWidget(showCodeBox_, 101);
    buttons->addStretch(19);

    auto* layout = new QVBoxLayout(this);
    // Narrow side margins: the event column takes what the others leave.
    layout->setContentsMargins(6, 10, 6, 10);
    auto* barRow = new QHBoxLayout;
    barRow->addWidget(bar_, 1);
    barRow->addWidget(MakeStopButton(model.transfers, GetProfile(), "stopLogTransfer", this));
    layout->addLayout(barRow);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    layout->addSpacing(12);
    layout->addWidget(list_, 1);
    status_ = new QLabel(this);
    status_->setObjectName("logStatus");
    layout->addWidget(status_);

    // Where the rows would be: says that a read found the log empty.
    emptyText_ = new QLabel(list_->viewport());
    emptyText_->setObjectName("emptyLog");
    emptyText_->setText(QtText(TransferTextsFor(GetProfile()).emptyLog));
    emptyText_->setAlignment(Qt::AlignCenter);
    auto* emptyLayout = new QVBoxLayout(list_->viewport());
    emptyLayout->addWidget(emptyText_);
    emptyText_->hide();

    connect(readButton_, &QPushButton::clicked, this, [this] { ReadLogFromModule(); });
    connect(clearButton_, &QPushButton::clicked, this, [this] { ClearModuleLog(); });
    connect(saveButton_, &QPushButton::clicked, this, [this] { SaveLogCsv(); });
    // Only the next read uses it; listed rows keep their texts.
    connect(showCodeBox_, &QCheckBox::toggled, this, [this](bool on) { showEventCode_ = on; });

    connect(&model.transfers, &TransferRunner::Started, this, [this] { UpdateButtons(); });
    connect(&model.transfers, &TransferRunner::Finished, this, [this] { UpdateButtons(); });
    qApp->installEventFilter(this);
}

LogPage::~LogPage() {
    if (qApp) qApp->removeEventFilter(this);
}

void LogPage::UpdateButtons() {
    const bool usable = Model().link.IsOpen() && !Model().link.Busy();
    for (QPushButton* button : {readButton_, clearButton_}) button->setEnabled(usable);
    // The list is saved from its cells: no port needed, only rows.
    saveButton_->setEnabled(list_->rowCount() > 0 && !Model().link.Busy());
}

bool LogPage::eventFilter(QObject* watched, QEvent* event) {
    // Before any input reaches the page or one of its controls, so that a
    // click on a button whose port has closed meets a disabled button.
    if (IsInput(event->type()) && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        if (widget == this || isAncestorOf(widget)) UpdateButtons();
    }
    return Page::eventFilter(watched, event);
}

void LogPage::showEvent(QShowEvent* event) {
    UpdateButtons();
    Page::showEvent(event);
}

void LogPage::Tell(const QString& text, const QString& detail) {
    Model().dialogs->Message(this, QMessageBox::Warning, text, detail);
}

template <typename State>
void LogPage::Run(TransferKind kind, State state, std::function<LinkOutcome(TwoWireBus&, State&, Progress&)> work,
                  std::function<int(State&, const TransferRun&)> done) {
    Transfer<State> transfer{kind, std::move(state), std::move(work), progress_.get(), {}, {}};
    transfer.begin = [this](double seconds) { status_->setText(QtText(EstimateText(GetProfile(), seconds))); };
    transfer.done = [this, kind, done = std::move(done)](State& ended, const TransferRun& run) {
        const int records = done(ended, run);
        const bool stopped = run.end == TransferRun::End::Stopped;
        status_->setText(QtText(TransferReport(GetProfile(), {kind, run.Done(), run.elapsed, records, stopped})));
        UpdateButtons();
    };
    Model().transfers.Run(this, std::move(transfer));
}

void LogPage::ReadLogFromModule() {
    const Profile& profile = GetProfile();
    Run<std::vector<LogRecord>>(
        TransferKind::ReadLog, {},
        [&profile](TwoWireBus& bus, std::vector<LogRecord>& records, Progress& progress) {
            return ReadLog(bus, profile, progress, records);
        },
        [this](std::vector<LogRecord>& records, const TransferRun& run) {
            // On any failure the list keeps what it showed.
            if (run.Done()) {
                FillList(MakeLogRows(records, showEventCode_, GetProfile().language));
                emptyText_->setVisible(records.empty());
            }
            return static_cast<int>(records.size());
        });
}

void LogPage::ClearModuleLog() {
    AppModel& m = Model();
    if (!m.link.IsOpen() || m.link.Busy()) return;
    if (!m.dialogs->Confirm(this, QtText(TransferTextsFor(GetProfile()).confirmClearLog))) return;
    const Profile& profile = GetProfile();
    struct Nothing {};
    Run<Nothing>(
        TransferKind::ClearLog, {},
        [&profile](TwoWireBus& bus, Nothing&, Progress& progress) { return ClearLog(bus, profile, progress); },
        [this](Nothing&, const TransferRun& run) {
            if (run.Done()) {
                list_->setRowCount(0);
                emptyText_->hide();
            }
            return 0;
        });
}

void LogPage::SaveLogCsv() {
    if (list_->rowCount() == 0) return;
    const QString file = Model().dialogs->SaveFileName(this, QString::fromUtf8(kSaveTitle),
                                                       QString::fromUtf8(kSaveFilter), QString::fromUtf8(kSaveSuffix));
    if (file.isEmpty()) return;
    const std::vector<LogRow> rows = ListedRows();
    if (const LogCsvOutcome saved = korvex::SaveLogCsv(FsPath(file), rows); !saved.Ok()) {
        Tell(QString::fromUtf8(kCannotSave), file + QStringLiteral(": ") + QtText(saved.reason));
        return;
    }
    Model().dialogs->FileUsed(file);
}

void LogPage::FillList(const std::vector<LogRow>& rows) {
    list_->setRowCount(0);
    list_->setRowCount(static_cast<int>(rows.size()));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < kLogColumnCount; ++c) {
            auto* item = new QTableWidgetItem(QtText(rows[r][c]));
            item->setTextAlignment(kColumns[c].alignment | Qt::AlignVCenter);
            item->setToolTip(c == kLogColEvent ? item->text() : QString());
            list_->setItem(static_cast<int>(r), static_cast<int>(c), item);
        }
    }
}

std::vector<LogRow> LogPage::ListedRows() const {
    std::vector<LogRow> rows(static_cast<std::size_t>(list_->rowCount()));
    for (int r = 0; r < list_->rowCount(); ++r) {
        for (std::size_t c = 0; c < kLogColumnCount; ++c) {
            const QTableWidgetItem* item = list_->item(r, static_cast<int>(c));
            rows[static_cast<std::size_t>(r)][c] = item ? item->text().toStdString() : std::string();
        }
    }
    return rows;
}

}  // namespace korvex
