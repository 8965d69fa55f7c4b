#include "widgets/grid_model.h"

#include <algorithm>
#include <numeric>

namespace korvex {

Qt::Alignment AlignmentOf(ColumnAlignment alignment) {
    switch (alignment) {
    case ColumnAlignment::Right: return Qt::AlignRight;
    case ColumnAlignment::Centre: return Qt::AlignHCenter;
    case ColumnAlignment::Left: break;
    }
    return Qt::AlignLeft;
}

GridModel::GridModel(QObject* parent) : QAbstractTableModel(parent) {}

void GridModel::SetColumns(std::vector<ColumnDefinition> columns) {
    beginResetModel();
    columns_ = std::move(columns);
    endResetModel();
}

int GridModel::InsertRow(int position, qintptr itemData) {
    position = std::clamp(position, 0, RowCount());
    beginInsertRows({}, position, position);
    rows_.insert(rows_.begin() + position, Row{itemData, {}});
    endInsertRows();
    return position;
}

void GridModel::RemoveAllRows() {
    beginResetModel();
    rows_.clear();
    endResetModel();
}

void GridModel::SetCellTextCallback(CellTextCallback callback) {
    cellText_ = std::move(callback);
    if (RowCount() > 0 && ColumnCount() > 0) emit dataChanged(index(0, 0), index(RowCount() - 1, ColumnCount() - 1));
}

QString GridModel::CellText(int row, int column) const {
    if (row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount()) return {};
    if (cellText_) return cellText_(row, column, ItemData(row));
    return StoredText(row, Column(column).id);
}

QString GridModel::StoredText(int row, int columnId) const {
    if (row < 0 || row >= RowCount()) return {};
    return rows_[static_cast<std::size_t>(row)].stored.value(columnId);
}

void GridModel::SetStoredText(int row, int columnId, const QString& text) {
    if (row < 0 || row >= RowCount()) return;
    rows_[static_cast<std::size_t>(row)].stored.insert(columnId, text);
    for (int c = 0; c < ColumnCount(); ++c) {
        if (Column(c).id == columnId) emit dataChanged(index(row, c), index(row, c));
    }
}

void GridModel::Sort(int column, bool ascending) {
    if (column < 0 || column >= ColumnCount() || rows_.size() < 2) return;
    const int id = Column(column).id;
    const int flags = Column(column).flags;

    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> order(rows_.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const int c = CompareCellTexts(StoredText(a, id), StoredText(b, id), flags);
        return ascending ? c < 0 : c > 0;
    });
    std::vector<Row> sorted;
    sorted.reserve(rows_.size());
    std::vector<int> newRowOf(rows_.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        sorted.push_back(std::move(rows_[static_cast<std::size_t>(order[i])]));
        newRowOf[static_cast<std::size_t>(order[i])] = static_cast<int>(i);
    }
    rows_ = std::move(sorted);

    // Selection and current cell follow their rows.
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& i : before) after.append(index(newRowOf[static_cast<std::size_t>(i.row())], i.column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int GridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : RowCount(); }

int GridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount(); }

QVariant GridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    switch (role) {
    case Qt::DisplayRole: return CellText(index.row(), index.column());
    case Qt::TextAlignmentRole:
        return static_cast<int>(AlignmentOf(Column(index.column()).alignment) | Qt::AlignVCenter);
    default: return {};
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount()) return {};
    switch (role) {
    case Qt::DisplayRole: return Column(section).label;
    case Qt::TextAlignmentRole: return static_cast<int>(AlignmentOf(Column(section).alignment) | Qt::AlignVCenter);
    default: return {};
    }
}

}  // namespace korvex
