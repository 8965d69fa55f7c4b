#include <QCheckBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <algorithm>
#include <gtest/gtest.h>

#include "log/log_demo.h"
#include "pages/log_page.h"
#include "ui/page_model.h"

namespace korvex {
namespace {

// Room a cell needs beside its text: the item margins on both sides.
constexpr int kCellPadding = 8;

class LogPageLook : public ::testing::Test {
protected:
    LogPageLook() {
        const LogBytes ring = DemoLogArea();
        std::copy(ring.begin(), ring.end(), sim.module.Memory().begin() + kLogAddress);
        EXPECT_TRUE(sim.OpenPort());
        // The page's share of the fixed 640 x 480 main window.
        page.resize(640, 400);
        page.show();
    }

    test::PageModel sim;
    LogPage page{sim.model, nullptr};
};

// Whatever the desktop font, a demo read shows every cell and header whole,
// with and without the event codes.
TEST_F(LogPageLook, DemoRowsFitTheirColumns) {
    for (bool showCode : {false, true}) {
        SCOPED_TRACE(showCode);
        page.ShowCodeBox()->setChecked(showCode);
        sim.Press(page.ReadButton());
        QTableWidget* list = page.List();
        ASSERT_EQ(list->rowCount(), 8);
        const QFontMetrics cells(list->font());
        const QFontMetrics headers(list->horizontalHeader()->font());
        for (int c = 0; c < list->columnCount(); ++c) {
            const int width = list->columnWidth(c);
            const QString header = list->horizontalHeaderItem(c)->text();
            EXPECT_LE(headers.horizontalAdvance(header) + kCellPadding, width) << header.toStdString();
            for (int r = 0; r < list->rowCount(); ++r) {
                const QString text = list->item(r, c)->text();
                EXPECT_LE(cells.horizontalAdvance(text) + kCellPadding, width) << text.toStdString();
            }
        }
        // All seven columns are in view without scrolling sideways.
        int total = 0;
        for (int c = 0; c < list->columnCount(); ++c) total += list->columnWidth(c);
        EXPECT_LE(total, list->viewport()->width());
    }
}

}  // namespace
}  // namespace korvex
