#include "widgets/grid_list.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTimer>
#include <algorithm>

#include "widgets/code_page_validator.h"
#include "widgets/grid_dialogs.h"

namespace korvex {
namespace {

// Marks the current cell, so the column that Left and Right move and that
// a click edits is visible within the selected row.
class CurrentCellDelegate : public QStyledItemDelegate {
public:
    explicit CurrentCellDelegate(GridList* list) : QStyledItemDelegate(list), list_(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        if (index.row() != list_->currentIndex().row() || index.column() != list_->CurrentColumn()) return;
        const bool selected = option.state & QStyle::State_Selected;
        painter->save();
        painter->setPen(QPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text), 1,
                             Qt::DotLine));
        painter->drawRect(option.rect.adjusted(1, 1, -2, -2));
        painter->restore();
    }

private:
    GridList* list_;
};

}  // namespace

GridList::GridList(QWidget* parent) : QTableView(parent), model_(new GridModel(this)) {
    setModel(model_);
    setItemDelegate(new CurrentCellDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);

    QHeaderView* header = horizontalHeader();
    header->setMinimumSectionSize(0);  // the narrowest width is enforced per column
    header->setStretchLastSection(false);
    header->setHighlightSections(false);
    header->setSectionsMovable(false);
    header->setSectionsClickable(false);
    header->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(header, &QHeaderView::sectionClicked, this, &GridList::HeaderClicked);
    connect(header, &QHeaderView::customContextMenuRequested, this, &GridList::HeaderMenuRequested);
    connect(header, &QHeaderView::sectionResized, this, &GridList::SectionResized);

    textEditor_ = new QLineEdit(viewport());
    textEditor_->setMaxLength(kEditorMaxLength);
    textEditor_->setFrame(false);
    textEditor_->setValidator(new CodePageValidator(textEditor_));
    textEditor_->hide();
    textEditor_->installEventFilter(this);
    connect(textEditor_, &QLineEdit::textChanged, this, &GridList::GrowEditor);

    dropEditor_ = new QComboBox(viewport());
    dropEditor_->hide();
    dropEditor_->installEventFilter(this);
    // The popup's window: when it hides, the choice is made or abandoned.
    dropEditor_->view()->window()->installEventFilter(this);
    connect(dropEditor_, &QComboBox::activated, this, [this] {
        if (edit_ && edit_->drop) CloseEditor(true);
    });
}

GridList::~GridList() {
    // No notification out of a dying list.
    edit_.reset();
}

QString GridList::EmptyText() { return QStringLiteral(" С п и с о к  п у с т "); }

std::int32_t GridList::ColumnIdAt(int position) const {
    return position >= 0 && position < model_->ColumnCount() ? model_->Column(position).id : -1;
}

void GridList::ApplyColumnSet() {
    CloseEditor(true);
    const int selected = SelectedRow();
    std::vector<ColumnDefinition> columns;
    for (const std::int32_t id : columnSet_.ShownColumns()) {
        if (const ColumnDefinition* c = columnSet_.Find(id)) columns.push_back(*c);
    }
    applying_ = true;
    model_->SetColumns(std::move(columns));
    QHeaderView* header = horizontalHeader();
    for (int i = 0; i < model_->ColumnCount(); ++i) {
        const ColumnDefinition& c = model_->Column(i);
        header->setSectionResizeMode(
            i, (c.flags & ColumnFlag::FixedWidth) ? QHeaderView::Fixed : QHeaderView::Interactive);
        header->resizeSection(i, std::max(0, c.width));
    }
    applying_ = false;
    hasColumnSet_ = true;
    sortColumn_ = -1;
    ShowSortIndicator();
    currentColumn_ = std::clamp(currentColumn_, 0, std::max(0, model_->ColumnCount() - 1));
    if (selected >= 0) SelectCell(selected, currentColumn_);
}

void GridList::SetGridOptions(int options) {
    options_ = options;
    horizontalHeader()->setSectionsClickable(options_ & GridOption::HeaderSort);
    viewport()->update();
}

int GridList::InsertRow(int position, qintptr itemData) {
    CloseEditor(true);
    return model_->InsertRow(position, itemData);
}

void GridList::RemoveAllRows() {
    CloseEditor(false);
    model_->RemoveAllRows();
}

void GridList::SetRowHeight(int pixels) {
    verticalHeader()->setMinimumSectionSize(std::min(pixels, verticalHeader()->minimumSectionSize()));
    verticalHeader()->setDefaultSectionSize(pixels);
}

void GridList::SetStoredText(int row, std::int32_t columnId, const QString& text) {
    model_->SetStoredText(row, columnId, text);
}

void GridList::SetCellTextCallback(CellTextCallback callback) { model_->SetCellTextCallback(std::move(callback)); }

void GridList::SetEditNotifyCallback(EditNotifyCallback callback) { notify_ = std::move(callback); }

int GridList::SelectedRow() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void GridList::SelectCell(int row, int column) {
    if (row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount()) return;
    currentColumn_ = column;
    const QModelIndex index = model_->index(row, column);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(index);
}

void GridList::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    if (current.isValid()) currentColumn_ = current.column();
    QTableView::currentChanged(current, previous);
    // The marker sits on one cell; redraw both rows it may have left.
    if (previous.isValid()) viewport()->update(visualRect(previous));
}

// ---- mouse and keys in the list ----

void GridList::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QTableView::mousePressEvent(event);
        return;
    }
    Click(event->position().toPoint());
    event->accept();
}

void GridList::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click is a click like any other.
    if (event->button() != Qt::LeftButton) {
        QTableView::mouseDoubleClickEvent(event);
        return;
    }
    Click(event->position().toPoint());
    event->accept();
}

void GridList::mouseMoveEvent(QMouseEvent* event) {
    // No drag selection: the left button selects by clicks only.
    if (event->buttons() & Qt::LeftButton) {
        event->accept();
        return;
    }
    QTableView::mouseMoveEvent(event);
}

void GridList::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        event->accept();
        return;
    }
    QTableView::mouseReleaseEvent(event);
}

void GridList::Click(const QPoint& position) {
    setFocus(Qt::MouseFocusReason);  // an open editor closes and keeps its text
    const QModelIndex index = indexAt(position);
    if (!index.isValid()) return;
    const bool wasSelected = selectionModel()->isRowSelected(index.row(), {});
    if (!wasSelected) {
        SelectCell(index.row(), index.column());
        return;
    }
    if (index.column() != currentColumn_) {
        currentColumn_ = index.column();
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    }
    OpenEditor(index.row(), index.column());
}

void GridList::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right) {
        MoveCurrentColumn(event->key() == Qt::Key_Left ? -1 : 1);
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void GridList::MoveCurrentColumn(int delta) {
    if (ColumnCount() == 0) return;
    const int column = std::clamp(currentColumn_ + delta, 0, ColumnCount() - 1);
    currentColumn_ = column;
    const int row = currentIndex().row();
    if (row >= 0) selectionModel()->setCurrentIndex(model_->index(row, column), QItemSelectionModel::NoUpdate);
    viewport()->update();
}

// ---- editors ----

bool GridList::IsEditable(int column) const {
    return column >= 0 && column < ColumnCount() &&
           (model_->Column(column).flags & (ColumnFlag::Edit | ColumnFlag::DropList));
}

bool GridList::OpenEditor(int row, int column) {
    if (row < 0 || row >= RowCount() || !IsEditable(column)) return false;
    CloseEditor(true);
    const ColumnDefinition& def = model_->Column(column);
    const bool drop = !(def.flags & ColumnFlag::Edit);
    const QModelIndex index = model_->index(row, column);
    scrollTo(index);
    if (columnWidth(column) <= 4) return false;

    const QRect cell = visualRect(index);
    const int left = cell.left() + 6;
    const int right = std::min(cell.left() + columnWidth(column), viewport()->width());
    const QRect area(left, cell.top() + 1, std::max(1, right - left), std::max(1, cell.height() - 2));

    OpenEdit edit;
    edit.row = row;
    edit.column = column;
    edit.columnId = def.id;
    edit.itemData = model_->ItemData(row);
    edit.initial = model_->CellText(row, column);
    edit.drop = drop;
    edit.serial = ++editSerial_;

    if (drop) {
        GridNotification n;
        n.kind = GridNotification::SupplyChoices;
        n.controlId = controlId_;
        n.row = row;
        n.columnId = def.id;
        n.itemData = edit.itemData;
        if (!notify_ || !notify_(n)) return false;
        dropEditor_->clear();
        dropEditor_->addItems(n.choices);
        dropEditor_->setCurrentIndex(dropEditor_->findText(edit.initial, Qt::MatchExactly));
        edit_ = edit;
        dropEditor_->setGeometry(area);
        dropEditor_->show();
        dropEditor_->setFocus(Qt::OtherFocusReason);
        dropEditor_->showPopup();
        return true;
    }

    edit_ = edit;
    textEditor_->setAlignment(AlignmentOf(def.alignment) | Qt::AlignVCenter);
    textEditor_->setGeometry(area);
    {
        const QSignalBlocker quiet(textEditor_);  // no growing before it is shown
        textEditor_->setText(edit.initial.left(kEditorMaxLength));
    }
    textEditor_->show();
    textEditor_->setFocus(Qt::OtherFocusReason);
    textEditor_->selectAll();
    GrowEditor();
    return true;
}

void GridList::CloseEditor(bool keep) {
    if (!edit_) return;
    const OpenEdit edit = *edit_;
    edit_.reset();
    QWidget* editor = edit.drop ? static_cast<QWidget*>(dropEditor_) : textEditor_;
    QString text;
    if (edit.drop) {
        // Without a choice the cell keeps what it had.
        text = dropEditor_->currentIndex() >= 0 ? dropEditor_->currentText() : edit.initial;
        dropEditor_->hidePopup();
    } else {
        text = textEditor_->text();
    }
    if (editor->hasFocus() || editor->isAncestorOf(QApplication::focusWidget())) setFocus(Qt::OtherFocusReason);
    editor->hide();
    if (keep && text != edit.initial) Commit(edit, text);
    viewport()->update();
}

void GridList::Commit(const OpenEdit& edit, const QString& text) {
    int accepted = 1;
    if (notify_) {
        GridNotification n;
        n.kind = GridNotification::ValueEdited;
        n.controlId = controlId_;
        n.row = edit.row;
        n.columnId = edit.columnId;
        n.itemData = edit.itemData;
        n.text = text;
        accepted = notify_(n);
    }
    model_->SetStoredText(edit.row, edit.columnId, accepted ? text : QString());
}

bool GridList::eventFilter(QObject* watched, QEvent* event) {
    const bool text = watched == textEditor_;
    const bool drop = watched == dropEditor_;
    if ((text || drop) && edit_ && edit_->drop == drop) {
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            return text ? TextEditorKey(key) : DropEditorKey(key);
        }
        if (event->type() == QEvent::FocusOut) {
            // Clicking elsewhere ends the edit as Enter would; a popup or
            // another application taking the focus for a while does not.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            QWidget* popup = dropEditor_->view()->window();
            QWidget* to = QApplication::focusWidget();
            const bool toOwnPopup = to && (to == popup || popup->isAncestorOf(to));
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason && !toOwnPopup)
                CloseEditor(true);
        }
    } else if (event->type() == QEvent::Hide && edit_ && edit_->drop &&
               watched == dropEditor_->view()->window()) {
        // The popup hides before or after it reports the choice, depending
        // on mouse or keyboard; settle once both have happened.
        const unsigned serial = edit_->serial;
        QTimer::singleShot(0, this, [this, serial] {
            if (edit_ && edit_->drop && edit_->serial == serial) CloseEditor(true);
        });
    }
    return QTableView::eventFilter(watched, event);
}

bool GridList::CommonEditorKey(QKeyEvent* event) {
    const OpenEdit edit = *edit_;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        CloseEditor(true);
        return true;
    case Qt::Key_Escape:
        CloseEditor(false);
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: {
        const bool back = event->key() == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier);
        CloseEditor(true);
        EditNextCell(edit.row, edit.column, back ? -1 : 1);
        return true;
    }
    default:
        return false;
    }
}

bool GridList::TextEditorKey(QKeyEvent* event) {
    if (CommonEditorKey(event)) return true;
    const OpenEdit edit = *edit_;
    switch (event->key()) {
    case Qt::Key_Left:
        if (textEditor_->hasSelectedText() || textEditor_->cursorPosition() != 0) return false;
        CloseEditor(true);
        MoveCurrentColumn(-1);
        return true;
    case Qt::Key_Right:
        if (textEditor_->hasSelectedText() || textEditor_->cursorPosition() != textEditor_->text().size()) return false;
        CloseEditor(true);
        MoveCurrentColumn(1);
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
        CloseEditor(true);
        MoveSelection(edit.row, event->key() == Qt::Key_Up ? -1 : 1);
        return true;
    default:
        return false;  // ordinary editing; the editor grows on textChanged
    }
}

bool GridList::DropEditorKey(QKeyEvent* event) { return CommonEditorKey(event); }

void GridList::EditNextCell(int row, int column, int direction) {
    const int columns = ColumnCount();
    if (columns == 0) return;
    do {
        column += direction;
        if (column >= columns) {
            column = 0;
            ++row;
        } else if (column < 0) {
            column = columns - 1;
            --row;
        }
        if (row < 0 || row >= RowCount()) return;
    } while (!IsEditable(column));
    SelectCell(row, column);
    OpenEditor(row, column);
}

void GridList::MoveSelection(int row, int delta) {
    const int target = row + delta;
    if (target < 0 || target >= RowCount()) return;
    SelectCell(target, currentColumn_);
}

void GridList::GrowEditor() {
    if (!edit_ || edit_->drop) return;
    const int needed = textEditor_->fontMetrics().horizontalAdvance(textEditor_->text()) + 5;
    QRect area = textEditor_->geometry();
    if (area.width() >= needed) return;
    area.setRight(viewport()->width() - 1);
    if (area.width() < needed) area.setWidth(needed);
    textEditor_->setGeometry(area);
}

// ---- header ----

void GridList::HeaderClicked(int column) {
    if ((options_ & GridOption::HeaderSort) && column >= 0 && column < ColumnCount() &&
        (model_->Column(column).flags & ColumnFlag::Sortable)) {
        SortRows(column, column == sortColumn_ ? !sortAscending_ : true);
    }
    // The header flips its arrow on every click; show ours.
    ShowSortIndicator();
}

void GridList::SortRows(int column, bool ascending) {
    if (column < 0 || column >= ColumnCount()) return;
    CloseEditor(true);
    model_->Sort(column, ascending);
    sortColumn_ = column;
    sortAscending_ = ascending;
    ShowSortIndicator();
}

void GridList::ShowSortIndicator() {
    QHeaderView* header = horizontalHeader();
    header->setSortIndicatorShown(sortColumn_ >= 0);
    header->setSortIndicator(sortColumn_, sortAscending_ ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void GridList::SectionResized(int column, int, int newSize) {
    if (applying_ || newSize >= kMinColumnWidth) return;
    if (horizontalHeader()->visualIndex(column) == 0) return;
    if (model_->Column(column).flags & ColumnFlag::FixedWidth) return;
    horizontalHeader()->resizeSection(column, kMinColumnWidth);
}

QMenu* GridList::CreateHeaderMenu(int column) {
    auto* menu = new QMenu(this);
    const bool sorting = options_ & GridOption::HeaderSort;
    const bool sortable = column >= 0 && column < ColumnCount() &&
                          (model_->Column(column).flags & ColumnFlag::Sortable);

    QAction* up = menu->addAction(style()->standardIcon(QStyle::SP_ArrowUp), QStringLiteral("Sort ascending"));
    up->setData(kSortAscendingCommand);
    up->setEnabled(sorting);
    connect(up, &QAction::triggered, this, [this, column, sortable] {
        if (sortable) SortRows(column, true);
    });
    QAction* down = menu->addAction(style()->standardIcon(QStyle::SP_ArrowDown), QStringLiteral("Sort descending"));
    down->setData(kSortDescendingCommand);
    down->setEnabled(sorting);
    connect(down, &QAction::triggered, this, [this, column, sortable] {
        if (sortable) SortRows(column, false);
    });
    menu->addSeparator();
    QAction* customize = menu->addAction(QStringLiteral("Customize header"));
    customize->setData(kCustomizeHeaderCommand);
    customize->setEnabled(hasColumnSet_);
    connect(customize, &QAction::triggered, this, &GridList::CustomizeColumns);
    QAction* format = menu->addAction(QStringLiteral("Header format"));
    format->setData(kHeaderFormatCommand);
    // A format needs a column: off when the click was past the last one.
    format->setEnabled(hasColumnSet_ && column >= 0 && column < ColumnCount());
    connect(format, &QAction::triggered, this, [this, column] { FormatColumn(column); });
    return menu;
}

void GridList::HeaderMenuRequested(const QPoint& position) {
    QHeaderView* header = horizontalHeader();
    QMenu* menu = CreateHeaderMenu(header->logicalIndexAt(position));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(header->viewport()->mapToGlobal(position));
}

void GridList::CopyHeaderToColumnSet() {
    QHeaderView* header = horizontalHeader();
    std::vector<std::int32_t> shown;
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        const std::int32_t id = model_->Column(logical).id;
        if (ColumnDefinition* c = columnSet_.Find(id)) c->width = header->sectionSize(logical);
        shown.push_back(id);
    }
    columnSet_.SetShownColumns(shown);
}

void GridList::CustomizeColumns() {
    if (!hasColumnSet_) return;
    CloseEditor(true);
    CopyHeaderToColumnSet();
    CustomizeColumnsDialog dialog(columnSet_, this);
    if (dialog.exec() == QDialog::Accepted) ApplyColumnSet();
}

void GridList::FormatColumn(int column) {
    if (!hasColumnSet_ || column < 0 || column >= ColumnCount()) return;
    CloseEditor(true);
    CopyHeaderToColumnSet();
    ColumnDefinition* def = columnSet_.Find(model_->Column(column).id);
    if (!def) return;
    ColumnFormatDialog dialog(*def, this);
    if (dialog.exec() == QDialog::Accepted) ApplyColumnSet();
}

// ---- drawing ----

void GridList::paintEvent(QPaintEvent* event) {
    if (RowCount() == 0) {
        QPainter painter(viewport());
        painter.fillRect(viewport()->rect(), palette().brush(QPalette::Base));
        painter.setPen(palette().color(QPalette::Disabled, QPalette::Text));
        const int line = fontMetrics().height();
        painter.drawText(QRect(0, line / 2, viewport()->width(), line), Qt::AlignHCenter | Qt::AlignVCenter,
                         EmptyText());
        return;
    }
    QTableView::paintEvent(event);
    if (!(options_ & GridOption::FullWidthRows) || ColumnCount() == 0) return;
    // The selected row's band reaches the right edge of the list.
    QHeaderView* header = horizontalHeader();
    const int last = header->logicalIndex(header->count() - 1);
    const int end = columnViewportPosition(last) + columnWidth(last);
    const int row = SelectedRow();
    if (end >= viewport()->width() || row < 0) return;
    QPainter painter(viewport());
    const QPalette::ColorGroup group = hasFocus() ? QPalette::Active : QPalette::Inactive;
    painter.fillRect(QRect(end, rowViewportPosition(row), viewport()->width() - end, rowHeight(row)),
                     palette().brush(group, QPalette::Highlight));
}

}  // namespace korvex
