// Compare with module and the report from the programs: the dialog against
// a simulated module, taking rows, and the PDF laid out offscreen.
#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QLabel>
#include <QMenuBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QTimer>
#include <functional>
#include <memory>

#include "pages/compare_dialog.h"
#include "pages/report_export.h"
#include "ui/korvex_window.h"
#include "ui/page_model.h"
#include "ui/tamlo_window.h"

namespace korvex::test {
namespace {

using CompareTest = KorvexWindow;

// Runs `inspect` on the comparison dialog once it is up (the module read
// before it lets timers run), then closes it.
void WhenModal(std::function<void(CompareDialog&)> inspect) {
    auto* poll = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, tries, inspect] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* dialog = qobject_cast<CompareDialog*>(modal);
        if (!dialog && ++*tries < 1000) return;
        poll->stop();
        poll->deleteLater();
        if (dialog) inspect(*dialog);
        else ADD_FAILURE() << "no comparison dialog came up";
        // Whatever is up goes, so that a failure cannot hang the test.
        if (modal) modal->close();
    });
    poll->start(10);
}

TEST_F(CompareTest, WorksOnlyWhileThePortIsOpen) {
    frame->PageAction(int(PageId::File))->trigger();
    EXPECT_FALSE(Button("compare")->isEnabled());
    EXPECT_EQ(Button("compare")->text(), QStringLiteral("Сравнить с модулем"));
    OpenDemo();
    EXPECT_TRUE(Button("compare")->isEnabled());
}

TEST_F(CompareTest, ShowsTheDifferencesAndLeavesTheEditedSettingsAlone) {
    model->settings = SampleSettings();
    model->settings.phones[1] = "+70000000000";
    model->settings.autodialCycles = 9;
    const ConfigSettings edited = model->settings;
    OpenDemo();
    QStringList fields;
    WhenModal([&](CompareDialog& dialog) {
        QTableWidget* table = dialog.Table();
        EXPECT_TRUE(table->isSortingEnabled());
        for (int r = 0; r < table->rowCount(); ++r) fields << table->item(r, 1)->text();
    });
    Click("compare");
    fields.sort();
    EXPECT_EQ(fields, (QStringList{QStringLiteral("Кол-во циклов автодозвона (3..9)"), QStringLiteral("Телефон #2")}));
    EXPECT_EQ(model->settings, edited);
}

TEST_F(CompareTest, TakingASelectedRowCopiesTheModulesValueAndReloadsThePages) {
    const ConfigSettings module = SampleSettings();
    model->settings = module;
    model->settings.phones[1] = "+70000000000";
    model->settings.autodialCycles = 9;
    OpenDemo();
    WhenModal([&](CompareDialog& dialog) {
        QTableWidget* table = dialog.Table();
        table->sortItems(1, Qt::DescendingOrder);  // the phone row first
        ASSERT_EQ(table->item(0, 1)->text(), QStringLiteral("Телефон #2"));
        table->selectRow(0);
        dialog.TakeSelected();
        ASSERT_EQ(table->rowCount(), 1);
        EXPECT_EQ(table->item(0, 1)->text(), QStringLiteral("Кол-во циклов автодозвона (3..9)"));
        table->selectRow(0);
        dialog.TakeSelected();
        EXPECT_FALSE(table->isVisible());
        EXPECT_TRUE(dialog.findChild<QLabel*>("noDifferences")->isVisible());
    });
    Click("compare");
    EXPECT_EQ(model->settings.phones[1], module.phones[1]);
    EXPECT_EQ(model->settings.autodialCycles, module.autodialCycles);
    frame->PageAction(int(PageId::Phones))->trigger();
    EXPECT_EQ(frame->findChild<QLineEdit*>("number2")->text(), QString::fromStdString(module.phones[1].substr(1)));
}

// Once sound was read or loaded, the module's voice directory is read too;
// a slot's row tells the lengths and cannot be taken.
TEST_F(CompareTest, SlotsAreSetBesideTheModulesOnceSoundWasLoaded) {
    model->settings = SampleSettings();
    model->soundLoaded = true;
    model->voice.slotLength[0] = 8000;
    model->voice.slotRate[0] = 16000;
    const ConfigSettings edited = model->settings;
    OpenDemo();
    bool slotRow = false;
    WhenModal([&](CompareDialog& dialog) {
        QTableWidget* table = dialog.Table();
        for (int r = 0; r < table->rowCount(); ++r) {
            EXPECT_EQ(table->item(r, 0)->text(), QStringLiteral("Файл"));
            EXPECT_FALSE(table->item(r, 1)->flags() & Qt::ItemIsSelectable);
            if (table->item(r, 1)->text() != QStringLiteral("Звук 1")) continue;
            slotRow = true;
            EXPECT_EQ(table->item(r, 2)->text(), QStringLiteral("8000 байт, 4,0 с"));
        }
        table->selectAll();
        EXPECT_FALSE(dialog.TakeButton()->isEnabled());
    });
    Click("compare");
    EXPECT_TRUE(slotRow);
    EXPECT_EQ(model->settings, edited);
    EXPECT_EQ(model->voice.slotLength[0], 8000);
}

TEST_F(CompareTest, EqualSettingsSayNoDifferences) {
    PageModel page;
    CompareDialog dialog(page.model, page.model.settings);
    EXPECT_EQ(dialog.Table()->rowCount(), 0);
    EXPECT_EQ(dialog.findChild<QLabel*>("noDifferences")->text(), QStringLiteral("Нет различий"));
    EXPECT_FALSE(dialog.TakeButton()->isEnabled());
}

TEST_F(CompareTest, ReportIsInTheFileMenuNotOnTheFilePage) {
    QStringList entries;
    for (QAction* action : frame->menuBar()->actions().first()->menu()->actions()) entries << action->text();
    EXPECT_TRUE(entries.contains(QStringLiteral("Отчёт..."))) << entries.join('|').toStdString();
    EXPECT_EQ(File().findChild<QPushButton*>("report"), nullptr);
}

using TamloReportTest = TamloWindow;

TEST_F(TamloReportTest, FilePageOffersTheReportAndTheComparison) {
    EXPECT_EQ(Button("report")->text(), QStringLiteral("Report..."));
    EXPECT_EQ(Button("compare")->text(), QStringLiteral("Compare with module"));
}

int PdfPages(const QByteArray& pdf) {
    // Page objects, not the page tree ("/Type /Pages").
    return static_cast<int>(pdf.count("/Type /Page\n") + pdf.count("/Type /Page ") + pdf.count("/Type /Page/") +
                            pdf.count("/Type /Page>"));
}

Report Sample(std::size_t logRows) {
    PageModel full;
    full.model.settings = SampleSettings();
    return MakeReport(full.model,
                      std::vector<LogRow>(logRows, LogRow{"1", "12:00", "01 январь", "1234", "01", "Тревога", "02"}));
}

TEST(ReportPdf, LaysTheReportOutOnA4Pages) {
    QBuffer longPdf;
    longPdf.open(QIODevice::WriteOnly);
    const int longPages = WriteReportPdf(Sample(128), longPdf);
    EXPECT_EQ(PdfPages(longPdf.data()), longPages);
    EXPECT_TRUE(longPdf.data().startsWith("%PDF"));
    // Six pages of settings and names, the voice slots and 128 log rows
    // cannot share one A4 sheet.
    EXPECT_GE(longPages, 2);

    QBuffer shortPdf;
    shortPdf.open(QIODevice::WriteOnly);
    EXPECT_EQ(WriteReportPdf({.html = {}, .pagedHtml = QStringLiteral("<p>one line</p>"), .foot = QStringLiteral("x")},
                             shortPdf),
              1);
    EXPECT_EQ(PdfPages(shortPdf.data()), 1);
}

// Rows of a page image from the bottom up: whether each holds any ink.
std::vector<bool> InkRowsFromBottom(const QImage& page) {
    std::vector<bool> ink;
    for (int y = page.height() - 1; y >= 0; --y) {
        bool any = false;
        for (int x = 0; x < page.width() && !any; ++x) any = qGray(page.pixel(x, y)) < 200;
        ink.push_back(any);
    }
    return ink;
}

// Every page ends with the foot (the project and module at the left, the
// page number at the right), and the body never runs into it.
TEST(ReportPages, EveryPageEndsWithTheFootUnderABlankBand) {
    QImage page(QSize(794, 1123), QImage::Format_RGB32);  // A4 at 96 dpi
    page.fill(Qt::white);
    std::vector<QImage> pages;
    QPainter painter(&page);
    const int count = PaintReportPages(Sample(128), page, painter, [&] {
        painter.end();
        pages.push_back(page.copy());
        page.fill(Qt::white);
        painter.begin(&page);
    });
    painter.end();
    pages.push_back(page);
    ASSERT_GE(count, 3);
    ASSERT_EQ(pages.size(), static_cast<std::size_t>(count));
    for (int n = 0; n < count; ++n) {
        const std::vector<bool> ink = InkRowsFromBottom(pages[n]);
        const auto footTop = std::find(ink.begin(), ink.end(), true);
        ASSERT_NE(footTop, ink.end()) << "page " << n + 1 << " has no foot";
        // The band: the first run of blank rows taller than a letter's gaps
        // (the breve over "й" stands apart from its letter).
        constexpr int kBand = 8;
        auto band = footTop;
        for (int blank = 0; band != ink.end() && blank < kBand; ++band) blank = *band ? 0 : blank + 1;
        const auto bandStart = band - kBand;
        EXPECT_LT(bandStart - footTop, 32) << "page " << n + 1 << ": the foot is two lines under a blank band";
        if (n + 1 < count) {
            EXPECT_NE(std::find(band, ink.end(), true), ink.end()) << "page " << n + 1 << " has no body";
        }
        // Text at both ends of the foot line: the identification and the number.
        const int y = pages[n].height() - 1 - static_cast<int>(footTop - ink.begin()) - 4;
        const QImage line = pages[n].copy(0, y - 8, pages[n].width(), 12);
        int left = line.width(), right = 0;
        for (int x = 0; x < line.width(); ++x)
            for (int row = 0; row < line.height(); ++row)
                if (qGray(line.pixel(x, row)) < 200) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        EXPECT_LT(left, 10) << "page " << n + 1;
        EXPECT_GT(right, line.width() - 10) << "page " << n + 1;
    }
}

// Text never touches a cell's border, and each table's heading row comes
// again at the top of every page the table runs onto.
TEST(ReportPages, CellsAreSpacedAndHeadingsRepeat) {
    QTextDocument document;
    document.setHtml(Sample(8).pagedHtml);
    int tables = 0;
    for (QTextFrame* frame : document.rootFrame()->childFrames()) {
        const auto* table = qobject_cast<QTextTable*>(frame);
        if (!table) continue;
        ++tables;
        // The first table is the heading block; every other opens with its column names.
        if (tables > 1) {
            EXPECT_EQ(table->format().headerRowCount(), 1) << "table " << tables;
        }
        for (int row = 0; row < table->rows(); ++row) {
            for (int column = 0; column < table->columns(); ++column) {
                const QTextTableCellFormat cell = table->cellAt(row, column).format().toTableCellFormat();
                EXPECT_GE(cell.leftPadding(), 4) << "table " << tables << " row " << row;
                EXPECT_GE(cell.rightPadding(), 4) << "table " << tables << " row " << row;
            }
        }
    }
    // The heading block, six pages of settings and the log (no sound loaded).
    EXPECT_EQ(tables, 8);
}

TEST(ReportPdf, SavesHtmlOrPdfByTheSuffix) {
    QTemporaryDir dir;
    const Report report{.html = QStringLiteral("<html><body><p>x</p></body></html>"),
                        .pagedHtml = QStringLiteral("<p>x</p>"),
                        .foot = QStringLiteral("foot")};
    ASSERT_FALSE(SaveReport(report, dir.filePath("r.html")).has_value());
    ASSERT_FALSE(SaveReport(report, dir.filePath("r.PDF")).has_value());
    QFile h(dir.filePath("r.html")), p(dir.filePath("r.PDF"));
    ASSERT_TRUE(h.open(QIODevice::ReadOnly) && p.open(QIODevice::ReadOnly));
    EXPECT_EQ(h.readAll(), report.html.toUtf8());
    EXPECT_TRUE(p.readAll().startsWith("%PDF"));
    EXPECT_TRUE(SaveReport(report, dir.filePath("no/such/folder/r.html")).has_value());
}

}  // namespace
}  // namespace korvex::test
