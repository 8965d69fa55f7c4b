#include "pages/compare_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <set>

#include "pages/module_tools_texts.h"
#include "app/qt_paths.h"
#include "report/report_texts.h"
#include "report/voice_rows.h"

namespace korvex {

namespace {

enum Column { kPageColumn, kFieldColumn, kEditedColumn, kModuleColumn, kColumnCount };

}  // namespace

CompareDialog::CompareDialog(AppModel& model, ConfigSettings module, std::unique_ptr<VoiceStore> moduleVoice,
                             QWidget* parent)
    : QDialog(parent), model_(model), module_(std::move(module)), moduleVoice_(std::move(moduleVoice)) {
    const ModuleToolsTexts& texts = ModuleToolsTextsFor(model.profile.kind);
    const ReportTexts& words = ReportTextsFor(model.profile.kind);
    setWindowTitle(QString::fromUtf8(texts.compareTitle));
    setObjectName("compareDialog");

    table_ = new QTableWidget(0, kColumnCount, this);
    table_->setObjectName("differences");
    table_->setHorizontalHeaderLabels({QString::fromUtf8(words.page), QString::fromUtf8(words.field),
                                       QString::fromUtf8(words.left), QString::fromUtf8(words.right)});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    empty_ = new QLabel(QString::fromUtf8(words.noDifferences), this);
    empty_->setObjectName("noDifferences");
    empty_->setAlignment(Qt::AlignCenter);

    auto* buttons = new QDialogButtonBox(this);
    take_ = buttons->addButton(QString::fromUtf8(texts.take), QDialogButtonBox::ActionRole);
    take_->setObjectName("take");
    take_->setAutoDefault(false);
    QPushButton* close = buttons->addButton(QString::fromUtf8(texts.close), QDialogButtonBox::RejectRole);
    close->setObjectName("close");
    connect(take_, &QPushButton::clicked, this, &CompareDialog::TakeSelected);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(table_, &QTableWidget::itemSelectionChanged, this,
            [this] { take_->setEnabled(!table_->selectedItems().isEmpty()); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_, 1);
    layout->addWidget(empty_);
    layout->addWidget(buttons);
    resize(760, 420);
    Fill();
}

void CompareDialog::Fill() {
    rows_ = CompareModule(model_.settings, moduleVoice_ ? &model_.voice : nullptr, module_, moduleVoice_.get(),
                          model_.profile);
    table_->setSortingEnabled(false);
    table_->setRowCount(static_cast<int>(rows_.size()));
    for (int r = 0; r < static_cast<int>(rows_.size()); ++r) {
        const DiffRow& row = rows_[static_cast<std::size_t>(r)];
        const std::string cells[kColumnCount] = {row.page, row.field, row.left, row.right};
        for (int c = 0; c < kColumnCount; ++c) {
            auto* item = new QTableWidgetItem(QtText(cells[c]));
            // The row's place in rows_, whatever order the user sorts into.
            item->setData(Qt::UserRole, r);
            // A slot's sound is no setting to copy across.
            if (row.ref.kind == SettingKind::VoiceSlot) item->setFlags(Qt::ItemIsEnabled);
            table_->setItem(r, c, item);
        }
    }
    table_->setSortingEnabled(true);
    table_->resizeColumnsToContents();
    table_->setVisible(!rows_.empty());
    empty_->setVisible(rows_.empty());
    take_->setEnabled(false);
}

void CompareDialog::TakeSelected() {
    std::set<int> chosen;
    for (const QTableWidgetItem* item : table_->selectedItems()) chosen.insert(item->data(Qt::UserRole).toInt());
    if (chosen.empty()) return;
    for (int r : chosen) TakeSetting(model_.settings, module_, rows_[static_cast<std::size_t>(r)].ref);
    taken_ = true;
    Fill();
}

}  // namespace korvex
