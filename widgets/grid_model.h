#pragma once
#include <QAbstractTableModel>
#include <QHash>
#include <functional>
#include <vector>

#include "widgets/grid_columns.h"

namespace korvex {

using CellTextCallback = std::function<QString(int row, int column, qintptr itemData)>;

// The rows and shown columns of a GridList. A row holds the owner's item
// data and the texts stored for its cells (the last accepted edits); while
// the owner supplies texts, those are what is shown, by row position.
class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit GridModel(QObject* parent = nullptr);

    void SetColumns(std::vector<ColumnDefinition> columns);
    const ColumnDefinition& Column(int position) const { return columns_[static_cast<std::size_t>(position)]; }
    int ColumnCount() const { return static_cast<int>(columns_.size()); }

    int InsertRow(int position, qintptr itemData);
    void RemoveAllRows();
    int RowCount() const { return static_cast<int>(rows_.size()); }
    qintptr ItemData(int row) const { return rows_[static_cast<std::size_t>(row)].itemData; }

    void SetCellTextCallback(CellTextCallback callback);
    // What a cell shows: the owner's text, or the stored one without owner.
    QString CellText(int row, int column) const;
    QString StoredText(int row, int columnId) const;
    void SetStoredText(int row, int columnId, const QString& text);

    // Reorders the rows by the stored texts of a column; equal rows keep
    // their order. Rows keep their item data and stored texts.
    void Sort(int column, bool ascending);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    struct Row {
        qintptr itemData = 0;
        QHash<int, QString> stored;  // by column id
    };
    std::vector<ColumnDefinition> columns_;
    std::vector<Row> rows_;
    CellTextCallback cellText_;
};

Qt::Alignment AlignmentOf(ColumnAlignment alignment);

}  // namespace korvex
