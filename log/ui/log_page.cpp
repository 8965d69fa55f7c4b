#include "log/ui/log_page.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <array>
#include <filesystem>

#include "link/serial_exception.h"
#include "log/log_csv.h"
#include "log/log_transfer.h"
#include "shell/bar_progress.h"

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
constexpr const char* kPortFailure = "Ошибка COM порта";

struct ColumnLook {
    Qt::Alignment alignment;
    int width;  // pixels at the page's original font
};
constexpr std::array<ColumnLook, kLogColumnCount> kColumns = {{
    {Qt::AlignLeft, 25},
    {Qt::AlignHCenter, 40},
    {Qt::AlignHCenter, 70},
    {Qt::AlignHCenter, 43},
    {Qt::AlignHCenter, 50},
    {Qt::AlignLeft, 270},
    {Qt::AlignLeft, 80},
}};

QString FromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

bool IsInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Wheel:
        case QEvent::Enter:
        case QEvent::HoverMove:
        case QEvent::ShortcutOverride:
            return true;
        default:
            return false;
    }
}

}  // namespace

LogPage::LogPage(AppModel& model, QWidget* parent) : Page(PageId::Log, model, parent) {
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

    list_ = new QTableWidget(0, static_cast<int>(kLogColumnCount), this);
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
    const auto headers = LogColumnHeaders();
    for (std::size_t c = 0; c < kLogColumnCount; ++c) {
        auto* item = new QTableWidgetItem(QString::fromUtf8(headers[c].data(), static_cast<qsizetype>(headers[c].size())));
        item->setTextAlignment(kColumns[c].alignment | Qt::AlignVCenter);
        list_->setHorizontalHeaderItem(static_cast<int>(c), item);
        list_->setColumnWidth(static_cast<int>(c), kColumns[c].width);
    }

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
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addWidget(bar_);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    layout->addSpacing(12);
    layout->addWidget(list_, 1);

    connect(readButton_, &QPushButton::clicked, this, [this] { ReadLogFromModule(); });
    connect(clearButton_, &QPushButton::clicked, this, [this] { ClearModuleLog(); });
    connect(saveButton_, &QPushButton::clicked, this, [this] { SaveLogCsv(); });
    // Only the next read uses it; listed rows keep their texts.
    connect(showCodeBox_, &QCheckBox::toggled, this, [this](bool on) { showEventCode_ = on; });

    qApp->installEventFilter(this);
}

LogPage::~LogPage() { qApp->removeEventFilter(this); }

bool LogPage::PortOpen() { return Model().link.IsOpen(); }

void LogPage::UpdateButtons() {
    const bool open = PortOpen();
    for (QPushButton* button : {readButton_, clearButton_, saveButton_}) button->setEnabled(open);
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

void LogPage::ReportPortFailure(const QString& reason) {
    Model().dialogs->Message(this, QMessageBox::Critical, QString::fromUtf8(kPortFailure), reason);
}

void LogPage::ReadLogFromModule() {
    if (!PortOpen()) return;
    const Profile& profile = GetProfile();
    BarProgress progress(bar_, nullptr);
    std::vector<LogRecord> records;
    LinkOutcome outcome;
    try {
        outcome = ReadLog(Model().link.Bus(), profile, progress, records);
    } catch (const CSerialException& e) {
        Model().link.Save();
        ReportPortFailure(FromUtf8(e.Message()));
        return;
    }
    Model().link.Save();
    if (!outcome.Ok()) {
        // The list keeps what it showed.
        const auto text = OutcomeText(profile, outcome);
        Model().dialogs->Message(this, QMessageBox::Warning, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
        return;
    }
    FillList(MakeLogRows(records, showEventCode_));
}

void LogPage::ClearModuleLog() {
    if (!PortOpen()) return;
    const Profile& profile = GetProfile();
    BarProgress progress(bar_, nullptr);
    LinkOutcome outcome;
    try {
        outcome = ClearLog(Model().link.Bus(), profile, progress);
    } catch (const CSerialException& e) {
        Model().link.Save();
        ReportPortFailure(FromUtf8(e.Message()));
        return;
    }
    Model().link.Save();
    if (!outcome.Ok()) {
        const auto text = OutcomeText(profile, outcome);
        Model().dialogs->Message(this, QMessageBox::Warning, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
        return;
    }
    list_->setRowCount(0);
}

void LogPage::SaveLogCsv() {
    if (list_->rowCount() == 0) return;
    const QString file = Model().dialogs->SaveFileName(this, QString::fromUtf8(kSaveTitle),
                                                       QString::fromUtf8(kSaveFilter), QString::fromUtf8(kSaveSuffix));
    if (file.isEmpty()) return;
    const std::vector<LogRow> rows = ListedRows();
    if (const auto error = korvex::SaveLogCsv(std::filesystem::path(QFile::encodeName(file).toStdString()), rows)) {
        Model().dialogs->Message(this, QMessageBox::Warning, QString::fromUtf8(kCannotSave),
                                 file + QStringLiteral(": ") + FromUtf8(error->reason));
    }
}

void LogPage::FillList(const std::vector<LogRow>& rows) {
    list_->setRowCount(0);
    list_->setRowCount(static_cast<int>(rows.size()));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < kLogColumnCount; ++c) {
            auto* item = new QTableWidgetItem(FromUtf8(rows[r][c]));
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
