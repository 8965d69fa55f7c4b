#include "widgets/grid_dialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace korvex {
namespace {

QListWidgetItem* ColumnItem(const ColumnDefinition& column) {
    // The hidden first column of a list has no label; it still needs a name here.
    const QString text = column.label.isEmpty() ? QStringLiteral("(%1)").arg(column.id) : column.label;
    auto* item = new QListWidgetItem(text);
    item->setData(Qt::UserRole, column.id);
    return item;
}

}  // namespace

CustomizeColumnsDialog::CustomizeColumnsDialog(ColumnSet& columns, QWidget* parent)
    : QDialog(parent), columns_(columns) {
    setWindowTitle(QStringLiteral("Customize columns"));
    free_ = new QListWidget(this);
    shown_ = new QListWidget(this);
    shown_->setDragDropMode(QAbstractItemView::InternalMove);
    add_ = new QPushButton(QStringLiteral("Add ->"), this);
    remove_ = new QPushButton(QStringLiteral("<- Remove"), this);
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto* freeLabel = new QLabel(QStringLiteral("&Free columns:"), this);
    freeLabel->setBuddy(free_);
    auto* shownLabel = new QLabel(QStringLiteral("&Shown columns and order:"), this);
    shownLabel->setBuddy(shown_);

    auto* middle = new QVBoxLayout;
    middle->addStretch();
    middle->addWidget(add_);
    middle->addWidget(remove_);
    middle->addStretch();
    auto* grid = new QGridLayout;
    grid->addWidget(freeLabel, 0, 0);
    grid->addWidget(shownLabel, 0, 2);
    grid->addWidget(free_, 1, 0);
    grid->addLayout(middle, 1, 1);
    grid->addWidget(shown_, 1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons_);

    for (const std::int32_t id : columns_.ShownColumns()) {
        if (const ColumnDefinition* c = columns_.Find(id)) shown_->addItem(ColumnItem(*c));
    }
    for (const ColumnDefinition& c : columns_.Definitions()) {
        const auto& shown = columns_.ShownColumns();
        if (std::find(shown.begin(), shown.end(), c.id) == shown.end()) free_->addItem(ColumnItem(c));
    }

    connect(add_, &QPushButton::clicked, this, &CustomizeColumnsDialog::AddSelected);
    connect(remove_, &QPushButton::clicked, this, &CustomizeColumnsDialog::RemoveSelected);
    connect(free_, &QListWidget::itemDoubleClicked, this, &CustomizeColumnsDialog::AddSelected);
    connect(shown_, &QListWidget::itemDoubleClicked, this, &CustomizeColumnsDialog::RemoveSelected);
    connect(free_, &QListWidget::itemSelectionChanged, this, &CustomizeColumnsDialog::UpdateButtons);
    connect(shown_, &QListWidget::itemSelectionChanged, this, &CustomizeColumnsDialog::UpdateButtons);
    connect(buttons_, &QDialogButtonBox::accepted, this, &CustomizeColumnsDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &CustomizeColumnsDialog::reject);
    UpdateButtons();
}

void CustomizeColumnsDialog::AddSelected() {
    for (QListWidgetItem* item : free_->selectedItems()) shown_->addItem(free_->takeItem(free_->row(item)));
    UpdateButtons();
}

void CustomizeColumnsDialog::RemoveSelected() {
    for (QListWidgetItem* item : shown_->selectedItems()) free_->addItem(shown_->takeItem(shown_->row(item)));
    UpdateButtons();
}

void CustomizeColumnsDialog::UpdateButtons() {
    add_->setEnabled(!free_->selectedItems().isEmpty());
    remove_->setEnabled(!shown_->selectedItems().isEmpty());
    // A list with no column at all could not be opened again to undo it.
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(shown_->count() > 0);
}

void CustomizeColumnsDialog::accept() {
    if (shown_->count() == 0) return;
    std::vector<std::int32_t> ids;
    for (int i = 0; i < shown_->count(); ++i) ids.push_back(shown_->item(i)->data(Qt::UserRole).toInt());
    columns_.SetShownColumns(ids);
    QDialog::accept();
}

int ColumnFormatDialog::AverageCharWidth(const QFont& font) {
    const int width = QFontMetrics(font).horizontalAdvance(QStringLiteral("AbCdEfGhIj MnOpQrStUvWxYz"));
    return std::max(1, width / 26);
}

ColumnFormatDialog::ColumnFormatDialog(ColumnDefinition& column, QWidget* parent)
    : QDialog(parent), column_(column) {
    setWindowTitle(QStringLiteral("Column format"));
    charWidth_ = AverageCharWidth(font());
    initialChars_ = static_cast<int>(std::lround(static_cast<double>(column.width) / charWidth_));

    format_ = new QComboBox(this);
    format_->addItems({QStringLiteral("Text"), QStringLiteral("Numeric"), QStringLiteral("Valute")});
    format_->setCurrentIndex((column.flags & ColumnFlag::Valute) ? 2 : (column.flags & ColumnFlag::Numeric) ? 1 : 0);
    editor_ = new QComboBox(this);
    editor_->addItems({QStringLiteral("Drop list"), QStringLiteral("Edit")});
    editor_->setCurrentIndex((column.flags & ColumnFlag::DropList) ? 0 : (column.flags & ColumnFlag::Edit) ? 1 : -1);
    editor_->setEnabled(false);
    label_ = new QLineEdit(column.label, this);
    label2_ = new QLineEdit(column.label2.value_or(QString()), this);
    width_ = new QSpinBox(this);
    width_->setRange(0, 999);
    width_->setValue(initialChars_);
    left_ = new QRadioButton(QStringLiteral("&left"), this);
    centre_ = new QRadioButton(QStringLiteral("&center"), this);
    right_ = new QRadioButton(QStringLiteral("&right"), this);
    AlignmentButton(column.alignment)->setChecked(true);

    auto* formatRow = new QHBoxLayout;
    formatRow->addWidget(format_);
    formatRow->addWidget(editor_);
    auto* widthRow = new QHBoxLayout;
    widthRow->addWidget(width_);
    widthRow->addWidget(new QLabel(QStringLiteral("chars"), this));
    widthRow->addStretch();
    auto* alignRow = new QHBoxLayout;
    alignRow->addWidget(left_);
    alignRow->addWidget(centre_);
    alignRow->addWidget(right_);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Format:"), formatRow);
    form->addRow(QStringLiteral("&Label:"), label_);
    form->addRow(QStringLiteral("Label &2:"), label2_);
    form->addRow(QStringLiteral("Width:"), widthRow);
    form->addRow(alignRow);
    // QFormLayout gives the labels their buddies only for widgets, not rows.
    if (auto* l = qobject_cast<QLabel*>(form->labelForField(formatRow))) l->setBuddy(format_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &ColumnFormatDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ColumnFormatDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

QRadioButton* ColumnFormatDialog::AlignmentButton(ColumnAlignment alignment) const {
    switch (alignment) {
    case ColumnAlignment::Right: return right_;
    case ColumnAlignment::Centre: return centre_;
    case ColumnAlignment::Left: break;
    }
    return left_;
}

void ColumnFormatDialog::accept() {
    column_.flags &= ~(ColumnFlag::Numeric | ColumnFlag::Valute);
    if (format_->currentIndex() == 1) column_.flags |= ColumnFlag::Numeric;
    if (format_->currentIndex() == 2) column_.flags |= ColumnFlag::Valute;
    column_.label = label_->text();
    if (column_.label2 || !label2_->text().isEmpty()) column_.label2 = label2_->text();
    // An untouched width keeps its exact pixels rather than a rounded count.
    if (width_->value() != initialChars_) column_.width = width_->value() * charWidth_;
    column_.alignment = right_->isChecked()    ? ColumnAlignment::Right
                        : centre_->isChecked() ? ColumnAlignment::Centre
                                               : ColumnAlignment::Left;
    QDialog::accept();
}

}  // namespace korvex
