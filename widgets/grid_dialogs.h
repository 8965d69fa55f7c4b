#pragma once
#include <QDialog>

#include "widgets/grid_columns.h"

class QComboBox;
class QDialogButtonBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace korvex {

// "Customize columns": which columns a GridList shows and in what order.
// Columns move between the two lists with the buttons or a double click;
// the shown list is reordered by dragging. OK writes the shown order into
// the column set.
class CustomizeColumnsDialog : public QDialog {
    Q_OBJECT
public:
    CustomizeColumnsDialog(ColumnSet& columns, QWidget* parent = nullptr);

    QListWidget* FreeList() const { return free_; }
    QListWidget* ShownList() const { return shown_; }
    QPushButton* AddButton() const { return add_; }
    QPushButton* RemoveButton() const { return remove_; }

    void AddSelected();
    void RemoveSelected();
    void accept() override;

private:
    void UpdateButtons();

    ColumnSet& columns_;
    QListWidget* free_;
    QListWidget* shown_;
    QPushButton* add_;
    QPushButton* remove_;
    QDialogButtonBox* buttons_;
};

// "Column format": the format (sort rule), labels, width in characters and
// alignment of one column. The editor kind is shown, not changed. OK writes
// into the definition.
class ColumnFormatDialog : public QDialog {
    Q_OBJECT
public:
    ColumnFormatDialog(ColumnDefinition& column, QWidget* parent = nullptr);

    // Width in pixels of an average character of a font: the width of
    // "AbCdEfGhIj MnOpQrStUvWxYz" over 26, at least 1.
    static int AverageCharWidth(const QFont& font);

    QComboBox* FormatBox() const { return format_; }
    QComboBox* EditorBox() const { return editor_; }
    QLineEdit* LabelEdit() const { return label_; }
    QLineEdit* Label2Edit() const { return label2_; }
    QSpinBox* WidthBox() const { return width_; }
    QRadioButton* AlignmentButton(ColumnAlignment alignment) const;

    void accept() override;

private:
    ColumnDefinition& column_;
    int charWidth_;
    int initialChars_;
    QComboBox* format_;
    QComboBox* editor_;
    QLineEdit* label_;
    QLineEdit* label2_;
    QSpinBox* width_;
    QRadioButton* left_;
    QRadioButton* centre_;
    QRadioButton* right_;
};

}  // namespace korvex
