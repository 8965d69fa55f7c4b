#pragma once
#include <QTableView>
#include <QStringList>
#include <functional>
#include <optional>

#include "widgets/grid_columns.h"
#include "widgets/grid_model.h"

class QComboBox;
class QLineEdit;
class QMenu;

namespace korvex {

struct GridNotification {
    enum Kind : std::int32_t { SupplyChoices = 1, ValueEdited = 2 };
    std::int32_t kind = 0;
    std::int32_t controlId = 0;
    std::int32_t row = -1;
    std::int32_t columnId = -1;
    qintptr itemData = 0;
    QStringList choices;  // SupplyChoices: the owner fills them in, in its order
    QString text;         // ValueEdited: the new text
};
// Nonzero accepts, 0 refuses.
using EditNotifyCallback = std::function<int(GridNotification&)>;

// A list whose cells the user edits in place. The owner describes the
// columns in a ColumnSet, supplies cell texts by row position and learns of
// every edit through its two callbacks.
//
// A click selects a row; a click on the selected row opens the editor of
// the cell under the cursor: a text line of at most 10 characters, all of
// code page 1251 (ColumnFlag::Edit) or a drop list of the owner's choices
// (ColumnFlag::DropList). The header sorts on click and has a right-click
// menu with both sort commands and the two column dialogs.
class GridList : public QTableView {
    Q_OBJECT
public:
    static constexpr int kEditorMaxLength = 10;
    static constexpr int kMinColumnWidth = 16;
    // Command numbers of the header menu's entries (QAction::data).
    static constexpr int kSortAscendingCommand = 32803;
    static constexpr int kSortDescendingCommand = 32804;
    static constexpr int kCustomizeHeaderCommand = 32802;
    static constexpr int kHeaderFormatCommand = 61204;

    explicit GridList(QWidget* parent = nullptr);
    ~GridList() override;

    // What an empty list shows.
    static QString EmptyText();

    // Columns: describe them in Columns(), then apply it.
    ColumnSet& Columns() { return columnSet_; }
    void ApplyColumnSet();
    bool HasColumnSet() const { return hasColumnSet_; }
    int ColumnCount() const { return model_->ColumnCount(); }
    // The owner's id of the column at a position, -1 when there is none.
    std::int32_t ColumnIdAt(int position) const;
    const ColumnDefinition& ColumnAt(int position) const { return model_->Column(position); }

    void SetGridOptions(int options);
    int GridOptions() const { return options_; }

    // Rows.
    int InsertRow(int position, qintptr itemData);
    void RemoveAllRows();
    int RowCount() const { return model_->RowCount(); }
    qintptr RowItemData(int row) const { return model_->ItemData(row); }
    void SetRowHeight(int pixels);
    // The text the list keeps for a cell: the last accepted edit, or what
    // the owner put there.
    QString StoredText(int row, std::int32_t columnId) const { return model_->StoredText(row, columnId); }
    void SetStoredText(int row, std::int32_t columnId, const QString& text);
    // What the cell shows.
    QString CellText(int row, int column) const { return model_->CellText(row, column); }

    // The owner.
    void SetCellTextCallback(CellTextCallback callback);
    void SetEditNotifyCallback(EditNotifyCallback callback);
    void SetControlId(std::int32_t id) { controlId_ = id; }

    // The row selected (-1 for none) and the current column.
    int SelectedRow() const;
    int CurrentColumn() const { return currentColumn_; }
    void SelectCell(int row, int column);

    // Editing.
    bool OpenEditor(int row, int column);
    // Keeps or discards the text of the open editor and closes it.
    void CloseEditor(bool keep);
    bool IsEditing() const { return edit_.has_value(); }
    int EditingRow() const { return edit_ ? edit_->row : -1; }
    int EditingColumn() const { return edit_ ? edit_->column : -1; }
    QLineEdit* TextEditor() const { return textEditor_; }
    QComboBox* DropEditor() const { return dropEditor_; }

    // Sorting by the stored texts; -1 when unsorted.
    void SortRows(int column, bool ascending);
    int SortColumn() const { return sortColumn_; }
    bool SortAscending() const { return sortAscending_; }

    // The header menu for a target column (-1: none); the caller owns it.
    QMenu* CreateHeaderMenu(int column);
    // The two column dialogs, run modally; the columns are applied again after OK.
    void CustomizeColumns();
    void FormatColumn(int column);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    struct OpenEdit {
        int row = -1;
        int column = -1;
        std::int32_t columnId = -1;
        qintptr itemData = 0;
        QString initial;
        bool drop = false;
        unsigned serial = 0;
    };

    void Click(const QPoint& position);
    bool IsEditable(int column) const;
    void Commit(const OpenEdit& edit, const QString& text);
    // Enter keeps, Escape drops, Tab and Shift+Tab move on: both editors.
    bool CommonEditorKey(QKeyEvent* event);
    bool TextEditorKey(QKeyEvent* event);
    bool DropEditorKey(QKeyEvent* event);
    void EditNextCell(int row, int column, int direction);
    void MoveSelection(int row, int delta);
    void MoveCurrentColumn(int delta);
    void GrowEditor();
    void HeaderClicked(int column);
    void HeaderMenuRequested(const QPoint& position);
    void SectionResized(int column, int oldSize, int newSize);
    void ShowSortIndicator();
    void CopyHeaderToColumnSet();

    GridModel* model_;
    ColumnSet columnSet_;
    bool hasColumnSet_ = false;
    bool applying_ = false;
    int options_ = 0;
    std::int32_t controlId_ = 0;
    EditNotifyCallback notify_;
    int currentColumn_ = 0;
    int sortColumn_ = -1;
    bool sortAscending_ = true;
    QLineEdit* textEditor_;
    QComboBox* dropEditor_;
    std::optional<OpenEdit> edit_;
    unsigned editSerial_ = 0;
};

}  // namespace korvex
