#include "widgets/grid_list.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <vector>

#include "widgets/grid_dialogs.h"
#include "ui/key_input.h"
#include "ui/screenshot.h"

namespace korvex {
namespace {

enum ColumnId { kHidden = 0, kNumber = 1, kName = 2, kSound = 3 };

// An owner like the Names page: texts by row position, edits into its own
// data, the sound chosen from a drop list.
class GridListTest : public ::testing::Test {
protected:
    void Build(int rows, bool withSound) {
        ColumnSet& set = list.Columns();
        set.AddColumn(kHidden, QString(), {}, ColumnAlignment::Left, 0, 0x180);
        set.AddColumn(kNumber, QStringLiteral("№"), {}, ColumnAlignment::Centre, 30, 0x28);
        set.AddColumn(kName, QStringLiteral("Name"), {}, ColumnAlignment::Left, 100, 0x24);
        std::vector<std::int32_t> shown{kHidden, kNumber, kName};
        if (withSound) {
            set.AddColumn(kSound, QStringLiteral("Sound"), {}, ColumnAlignment::Left, 70, 0x1);
            shown.push_back(kSound);
        }
        set.SetShownColumns(shown);
        list.SetGridOptions(0x0F);
        list.ApplyColumnSet();
        names.assign(static_cast<std::size_t>(rows), QString());
        sounds.assign(static_cast<std::size_t>(rows), QString());
        for (int r = 0; r < rows; ++r) list.InsertRow(r, r);
        list.SetRowHeight(17);
        list.SetCellTextCallback([this](int row, int column, qintptr) -> QString {
            switch (list.ColumnIdAt(column)) {
            case kNumber: return QString::number(row + 1);
            case kName: return names[static_cast<std::size_t>(row)];
            case kSound: return sounds[static_cast<std::size_t>(row)];
            default: return {};
            }
        });
        list.SetEditNotifyCallback([this](GridNotification& n) {
            notifications.push_back(n);
            if (n.kind == GridNotification::SupplyChoices) {
                if (refuseChoices) return 0;
                n.choices = {QString(), QStringLiteral("Wav 1"), QStringLiteral("Wav 2"), QStringLiteral("Wav 3")};
                return 1;
            }
            if (refuseEdits) return 0;
            auto& target = n.columnId == kName ? names : sounds;
            target[static_cast<std::size_t>(n.row)] = n.text;
            return 1;
        });
        list.resize(320, 220);
        list.show();
        QApplication::setActiveWindow(&list);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&list));
    }

    void Click(int row, int column) {
        const QRect cell = list.visualRect(list.model()->index(row, column));
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, cell.center());
    }
    // Select the row, then click again to edit.
    void OpenByClicks(int row, int column) {
        Click(row, column);
        Click(row, column);
    }
    QLineEdit* Editor() { return list.TextEditor(); }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }
    int Edits() const {
        return static_cast<int>(std::count_if(notifications.begin(), notifications.end(),
                                              [](const auto& n) { return n.kind == GridNotification::ValueEdited; }));
    }

    GridList list;
    std::vector<QString> names;
    std::vector<QString> sounds;
    std::vector<GridNotification> notifications;
    bool refuseChoices = false;
    bool refuseEdits = false;
};

TEST_F(GridListTest, FirstClickSelectsSecondEditsAtMostTenCharacters) {
    Build(8, true);
    names[2] = QStringLiteral("Hall");
    Click(2, kName);
    EXPECT_EQ(list.SelectedRow(), 2);
    EXPECT_FALSE(list.IsEditing());
    Click(2, kName);
    ASSERT_TRUE(list.IsEditing());
    EXPECT_EQ(list.EditingRow(), 2);
    EXPECT_EQ(list.EditingColumn(), kName);
    EXPECT_EQ(Editor()->text(), QStringLiteral("Hall"));
    EXPECT_TRUE(Editor()->hasFocus());
    QTest::keyClicks(Editor(), "Kitchen and garage");
    EXPECT_EQ(Editor()->text(), QStringLiteral("Kitchen an"));
}

TEST_F(GridListTest, EditorTakesOnlyWhatTheImageCanHold) {
    Build(8, true);
    OpenByClicks(0, kName);
    test::TypeText(Editor(), QStringLiteral("Зал äα№ Ё"));
    EXPECT_EQ(Editor()->text(), QStringLiteral("Зал № Ё"));
}

TEST_F(GridListTest, ReadOnlyColumnOpensNothing) {
    Build(8, true);
    OpenByClicks(1, kNumber);
    EXPECT_EQ(list.SelectedRow(), 1);
    EXPECT_FALSE(list.IsEditing());
    EXPECT_EQ(list.CurrentColumn(), kNumber);
}

TEST_F(GridListTest, EnterKeepsTheText) {
    Build(8, true);
    OpenByClicks(3, kName);
    QTest::keyClicks(Editor(), "Porch");
    Key(Qt::Key_Return);
    EXPECT_FALSE(list.IsEditing());
    ASSERT_EQ(Edits(), 1);
    const GridNotification& n = notifications.back();
    EXPECT_EQ(n.row, 3);
    EXPECT_EQ(n.columnId, kName);
    EXPECT_EQ(n.itemData, 3);
    EXPECT_EQ(n.text, QStringLiteral("Porch"));
    EXPECT_EQ(names[3], QStringLiteral("Porch"));
    EXPECT_EQ(list.CellText(3, kName), QStringLiteral("Porch"));
    EXPECT_EQ(list.StoredText(3, kName), QStringLiteral("Porch"));
    EXPECT_TRUE(list.hasFocus());
}

TEST_F(GridListTest, EscapeDiscardsAndUnchangedEnterSendsNothing) {
    Build(8, true);
    names[4] = QStringLiteral("Garage");
    OpenByClicks(4, kName);
    QTest::keyClicks(Editor(), "Attic");
    Key(Qt::Key_Escape);
    EXPECT_FALSE(list.IsEditing());
    EXPECT_EQ(names[4], QStringLiteral("Garage"));
    EXPECT_EQ(list.CellText(4, kName), QStringLiteral("Garage"));

    OpenByClicks(4, kName);
    Key(Qt::Key_Return);
    EXPECT_EQ(Edits(), 0);
}

TEST_F(GridListTest, RefusedEditClearsTheStoredText) {
    Build(8, true);
    list.SetStoredText(5, kName, QStringLiteral("old"));
    refuseEdits = true;
    OpenByClicks(5, kName);
    QTest::keyClicks(Editor(), "new");
    Key(Qt::Key_Return);
    EXPECT_EQ(Edits(), 1);
    EXPECT_EQ(names[5], QString());
    EXPECT_EQ(list.StoredText(5, kName), QString());
}

TEST_F(GridListTest, TabMovesAcrossRowsAndStopsAfterTheLast) {
    Build(3, false);  // the name is the only editable column
    OpenByClicks(0, kName);
    QTest::keyClicks(Editor(), "A");
    Key(Qt::Key_Tab);
    EXPECT_EQ(names[0], QStringLiteral("A"));
    ASSERT_TRUE(list.IsEditing());
    EXPECT_EQ(list.EditingRow(), 1);
    EXPECT_EQ(list.SelectedRow(), 1);
    QTest::keyClicks(Editor(), "B");
    Key(Qt::Key_Tab);
    EXPECT_EQ(list.EditingRow(), 2);
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(list.EditingRow(), 1);
    EXPECT_EQ(Editor()->text(), QStringLiteral("B"));
    Key(Qt::Key_Tab);
    QTest::keyClicks(Editor(), "C");
    Key(Qt::Key_Tab);  // from the last editable cell of the last row
    EXPECT_FALSE(list.IsEditing());
    EXPECT_EQ(names, (std::vector<QString>{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}));
    EXPECT_TRUE(list.hasFocus());
}

TEST_F(GridListTest, TabGoesToTheNextColumnOfTheRowFirst) {
    Build(8, true);
    OpenByClicks(0, kName);
    Key(Qt::Key_Tab);
    ASSERT_TRUE(list.IsEditing());
    EXPECT_EQ(list.EditingRow(), 0);
    EXPECT_EQ(list.EditingColumn(), kSound);
}

TEST_F(GridListTest, UpAndDownMoveTheSelectionNotPastTheEnds) {
    Build(8, true);
    OpenByClicks(6, kName);  // row 7 of 8
    QTest::keyClicks(Editor(), "x");
    Key(Qt::Key_Down);
    EXPECT_FALSE(list.IsEditing());
    EXPECT_EQ(names[6], QStringLiteral("x"));
    EXPECT_EQ(list.SelectedRow(), 7);

    OpenByClicks(7, kName);
    QTest::keyClicks(Editor(), "y");
    Key(Qt::Key_Down);  // row 8: nowhere further down
    EXPECT_FALSE(list.IsEditing());
    EXPECT_EQ(names[7], QStringLiteral("y"));
    EXPECT_EQ(list.SelectedRow(), 7);
    EXPECT_EQ(list.selectionModel()->selectedRows().size(), 1);

    OpenByClicks(0, kName);
    Key(Qt::Key_Up);
    EXPECT_EQ(list.SelectedRow(), 0);
    OpenByClicks(1, kName);
    Key(Qt::Key_Up);
    EXPECT_EQ(list.SelectedRow(), 0);
    EXPECT_EQ(list.selectionModel()->selectedRows().size(), 1);
}

TEST_F(GridListTest, LeftAndRightLeaveTheEditorOnlyAtTheTextEnds) {
    Build(8, true);
    names[0] = QStringLiteral("ab");
    OpenByClicks(0, kName);
    Key(Qt::Key_End);  // clears the selection of the whole text
    Key(Qt::Key_Left);
    EXPECT_TRUE(list.IsEditing());
    Key(Qt::Key_Right);
    EXPECT_TRUE(list.IsEditing());
    Key(Qt::Key_Right);
    EXPECT_FALSE(list.IsEditing());
    EXPECT_EQ(list.CurrentColumn(), kSound);

    OpenByClicks(0, kName);
    Key(Qt::Key_Home);
    Key(Qt::Key_Left);
    EXPECT_FALSE(list.IsEditing());
    EXPECT_EQ(list.CurrentColumn(), kNumber);
    EXPECT_EQ(Edits(), 0);
}

TEST_F(GridListTest, LeftAndRightInTheListStopAtTheEdges) {
    Build(8, true);
    Click(2, kNumber);
    for (int i = 0; i < 5; ++i) Key(Qt::Key_Right);
    EXPECT_EQ(list.CurrentColumn(), kSound);
    for (int i = 0; i < 5; ++i) Key(Qt::Key_Left);
    EXPECT_EQ(list.CurrentColumn(), 0);
    EXPECT_EQ(list.SelectedRow(), 2);
    Key(Qt::Key_Down);
    EXPECT_EQ(list.SelectedRow(), 3);
}

TEST_F(GridListTest, ClickingElsewhereKeepsTheText) {
    Build(8, true);
    OpenByClicks(1, kName);
    QTest::keyClicks(Editor(), "Loft");
    Click(5, kNumber);
    EXPECT_FALSE(list.IsEditing());
    EXPECT_EQ(names[1], QStringLiteral("Loft"));
    EXPECT_EQ(list.SelectedRow(), 5);
}

TEST_F(GridListTest, DropListOffersTheOwnersChoices) {
    Build(8, true);
    sounds[2] = QStringLiteral("Wav 1");
    OpenByClicks(2, kSound);
    ASSERT_TRUE(list.IsEditing());
    ASSERT_FALSE(notifications.empty());
    EXPECT_EQ(notifications.front().kind, GridNotification::SupplyChoices);
    EXPECT_EQ(notifications.front().columnId, kSound);
    QComboBox* drop = list.DropEditor();
    ASSERT_EQ(drop->count(), 4);
    EXPECT_EQ(drop->itemText(3), QStringLiteral("Wav 3"));
    EXPECT_EQ(drop->currentText(), QStringLiteral("Wav 1"));
    QTest::keyClick(drop->view(), Qt::Key_Down);
    QTest::keyClick(drop->view(), Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !list.IsEditing(); }));  // the popup hides first
    EXPECT_EQ(sounds[2], QStringLiteral("Wav 2"));
    EXPECT_EQ(Edits(), 1);
}

TEST_F(GridListTest, DropListClosedWithoutAChoiceChangesNothing) {
    Build(8, true);
    sounds[1] = QStringLiteral("Wav 3");
    OpenByClicks(1, kSound);
    ASSERT_TRUE(list.IsEditing());
    QTest::keyClick(list.DropEditor()->view(), Qt::Key_Down);
    QTest::keyClick(list.DropEditor()->view(), Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !list.IsEditing(); }));
    EXPECT_EQ(sounds[1], QStringLiteral("Wav 3"));
    EXPECT_EQ(Edits(), 0);
}

TEST_F(GridListTest, RefusedChoicesOpenNoEditor) {
    Build(8, true);
    refuseChoices = true;
    OpenByClicks(1, kSound);
    EXPECT_FALSE(list.IsEditing());
    EXPECT_FALSE(list.DropEditor()->isVisible());
}

TEST_F(GridListTest, HiddenColumnCannotBeWidenedOthersNotNarrowedBelowSixteen) {
    Build(8, true);
    QHeaderView* header = list.horizontalHeader();
    const int y = header->height() / 2;
    auto drag = [&](int from, int to) {
        QTest::mousePress(header->viewport(), Qt::LeftButton, {}, QPoint(from, y));
        QTest::mouseMove(header->viewport(), QPoint((from + to) / 2, y));
        QTest::mouseMove(header->viewport(), QPoint(to, y));
        QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, QPoint(to, y));
    };
    drag(0, 60);
    EXPECT_EQ(header->sectionSize(kHidden), 0);
    // The "№" divider at 30 moves: the drag works where it is allowed.
    drag(30, 50);
    EXPECT_EQ(header->sectionSize(kNumber), 50);
    drag(50, 5);
    EXPECT_EQ(header->sectionSize(kNumber), GridList::kMinColumnWidth);
}

TEST_F(GridListTest, EmptyListShowsItsTextCentredOnTheFirstLine) {
    EXPECT_EQ(GridList::EmptyText(), QStringLiteral(" С п и с о к  п у с т "));
    GridList empty;
    empty.Columns().AddColumn(1, QStringLiteral("Name"), {}, ColumnAlignment::Left, 100, 0);
    empty.Columns().SetShownColumns({1});
    empty.ApplyColumnSet();
    empty.resize(300, 120);
    const QRgb grey = empty.palette().color(QPalette::Disabled, QPalette::Text).rgb();
    const QRgb base = empty.palette().color(QPalette::Base).rgb();
    const QImage blank = test::RenderWidget(*empty.viewport());
    EXPECT_GT(test::CountPixels(blank, grey), 0) << "no text drawn";
    QRect drawn;
    for (int y = 0; y < blank.height(); ++y) {
        for (int x = 0; x < blank.width(); ++x) {
            if ((blank.pixel(x, y) & 0xFFFFFF) != (base & 0xFFFFFF)) drawn |= QRect(x, y, 1, 1);
        }
    }
    EXPECT_NEAR(drawn.center().x(), blank.width() / 2, 4);
    EXPECT_LT(drawn.bottom(), 2 * empty.fontMetrics().height());

    empty.InsertRow(0, 0);
    EXPECT_EQ(test::CountPixels(test::RenderWidget(*empty.viewport()), grey), 0);
}

TEST_F(GridListTest, EditorWidensForLongText) {
    Build(8, true);
    OpenByClicks(0, kName);
    const int start = Editor()->width();
    EXPECT_LE(Editor()->geometry().right(), list.columnViewportPosition(kName) + list.columnWidth(kName));
    QTest::keyClicks(Editor(), "WWWWWWWWWW");
    const int needed = Editor()->fontMetrics().horizontalAdvance(Editor()->text()) + 5;
    ASSERT_GT(needed, start) << "text too short to need more room";
    EXPECT_GE(Editor()->width(), needed);
    EXPECT_GE(Editor()->geometry().right(), list.viewport()->width() - 1);
}

// A list that keeps its own texts (no text callback), as sorting sees them.
class GridSortTest : public ::testing::Test {
protected:
    void SetUp() override {
        ColumnSet& set = list.Columns();
        set.AddColumn(10, QStringLiteral("Qty"), {}, ColumnAlignment::Left, 60, ColumnFlag::Numeric | ColumnFlag::Sortable);
        set.AddColumn(11, QStringLiteral("Name"), {}, ColumnAlignment::Left, 60, ColumnFlag::Sortable);
        set.AddColumn(12, QStringLiteral("Fixed"), {}, ColumnAlignment::Left, 60, ColumnFlag::Numeric);
        set.SetShownColumns({10, 11, 12});
        list.SetGridOptions(GridOption::HeaderSort);
        list.ApplyColumnSet();
        const char* qty[] = {"10", "9", "100", "", "2"};
        const char* name[] = {"b", "ABC", "a", "abc", "C"};
        for (int r = 0; r < 5; ++r) {
            list.InsertRow(r, 100 + r);
            list.SetStoredText(r, 10, QString::fromLatin1(qty[r]));
            list.SetStoredText(r, 11, QString::fromLatin1(name[r]));
        }
        list.resize(300, 200);
    }
    QStringList Column(std::int32_t id) const {
        QStringList texts;
        for (int r = 0; r < list.RowCount(); ++r) texts << list.StoredText(r, id);
        return texts;
    }
    void ClickHeader(int column) {
        QHeaderView* header = list.horizontalHeader();
        const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    }

    GridList list;
};

TEST_F(GridSortTest, NumericHeaderClickPutsNineBeforeTenThenReverses) {
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    ClickHeader(0);
    EXPECT_EQ(Column(10), (QStringList{"", "2", "9", "10", "100"}));
    // Rows keep their item data.
    EXPECT_EQ(list.RowItemData(2), 101);
    EXPECT_EQ(list.RowItemData(3), 100);
    ClickHeader(0);
    EXPECT_EQ(Column(10), (QStringList{"100", "10", "9", "2", ""}));
    ClickHeader(1);  // another column starts ascending
    EXPECT_EQ(Column(11), (QStringList{"a", "ABC", "abc", "b", "C"}));
}

TEST_F(GridSortTest, UnsortableColumnAndSortOptionOff) {
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    const QStringList before = Column(10);
    ClickHeader(2);
    EXPECT_EQ(Column(10), before);
    EXPECT_EQ(list.SortColumn(), -1);
    list.SetGridOptions(0);
    ClickHeader(0);
    EXPECT_EQ(Column(10), before);
}

TEST_F(GridSortTest, HeaderMenuSortsTheTargetColumn) {
    std::unique_ptr<QMenu> menu(list.CreateHeaderMenu(0));
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), 5);
    EXPECT_EQ(actions[0]->text(), QStringLiteral("Sort ascending"));
    EXPECT_EQ(actions[1]->text(), QStringLiteral("Sort descending"));
    EXPECT_TRUE(actions[2]->isSeparator());
    EXPECT_EQ(actions[3]->text(), QStringLiteral("Customize header"));
    EXPECT_EQ(actions[4]->text(), QStringLiteral("Header format"));
    for (QAction* a : actions) {
        if (!a->isSeparator()) {
            EXPECT_TRUE(a->isEnabled()) << a->text().toStdString();
        }
    }
    actions[1]->trigger();
    EXPECT_EQ(Column(10), (QStringList{"100", "10", "9", "2", ""}));

    list.SetGridOptions(0);
    std::unique_ptr<QMenu> off(list.CreateHeaderMenu(0));
    EXPECT_FALSE(off->actions()[0]->isEnabled());
    EXPECT_FALSE(off->actions()[1]->isEnabled());
}

TEST_F(GridSortTest, SortingLeavesOwnerTextsByPosition) {
    list.SetCellTextCallback([](int row, int, qintptr) { return QString::number(row); });
    list.SortRows(0, true);
    for (int r = 0; r < list.RowCount(); ++r) EXPECT_EQ(list.CellText(r, 0), QString::number(r));
    EXPECT_EQ(Column(10), (QStringList{"", "2", "9", "10", "100"}));
}

// Runs a modal dialog's body once it is shown.
template <typename Dialog, typename Body>
void WhenShown(Body body) {
    QTimer::singleShot(0, [body] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        body(*dialog);
    });
}

TEST_F(GridSortTest, ColumnFormatDialogChangesFormatLabelAndWidth) {
    list.horizontalHeader()->resizeSection(1, 77);  // the user's width is carried over
    WhenShown<ColumnFormatDialog>([](ColumnFormatDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Column format"));
        EXPECT_EQ(d.FormatBox()->currentText(), QStringLiteral("Text"));
        d.FormatBox()->setCurrentIndex(d.FormatBox()->findText(QStringLiteral("Valute")));
        d.LabelEdit()->setText(QStringLiteral("Sum"));
        d.accept();
    });
    list.FormatColumn(1);
    const ColumnDefinition& c = list.ColumnAt(1);
    EXPECT_EQ(c.label, QStringLiteral("Sum"));
    EXPECT_EQ(c.flags & (ColumnFlag::Numeric | ColumnFlag::Valute), ColumnFlag::Valute);
    EXPECT_EQ(c.width, 77);  // untouched chars keep the pixels
    EXPECT_EQ(list.horizontalHeader()->sectionSize(1), 77);
    EXPECT_EQ(list.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Sum"));

    WhenShown<ColumnFormatDialog>([](ColumnFormatDialog& d) {
        d.WidthBox()->setValue(5);
        d.accept();
    });
    list.FormatColumn(1);
    const int charWidth = ColumnFormatDialog::AverageCharWidth(list.font());
    EXPECT_EQ(list.ColumnAt(1).width, 5 * charWidth);
}

TEST_F(GridSortTest, CustomizeColumnsRemovesAndAddsColumns) {
    WhenShown<CustomizeColumnsDialog>([](CustomizeColumnsDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Customize columns"));
        ASSERT_EQ(d.ShownList()->count(), 3);
        d.ShownList()->setCurrentRow(0);  // "Qty"
        d.RemoveSelected();
        EXPECT_EQ(d.FreeList()->count(), 1);
        d.accept();
    });
    list.CustomizeColumns();
    ASSERT_EQ(list.ColumnCount(), 2);
    EXPECT_EQ(list.ColumnIdAt(0), 11);
    EXPECT_EQ(list.ColumnIdAt(1), 12);
    // The stored texts belong to the ids, so they come back with the column.
    WhenShown<CustomizeColumnsDialog>([](CustomizeColumnsDialog& d) {
        d.FreeList()->setCurrentRow(0);
        d.AddSelected();
        d.accept();
    });
    list.CustomizeColumns();
    ASSERT_EQ(list.ColumnCount(), 3);
    EXPECT_EQ(list.ColumnIdAt(2), 10);
    EXPECT_EQ(list.CellText(0, 2), QStringLiteral("10"));
}

}  // namespace
}  // namespace korvex
