// Each page of the main window rendered offscreen after Read data and Read
// sound from the demo module, as a newcomer first sees them. With
// KORVEX_SCREENSHOT_DIR set (scripts/screenshots.sh) the pictures are kept
// there as <page>-page.png.
#include <QBuffer>
#include <QFile>

#include "pages/log_page.h"
#include "pages/report_export.h"
#include "widgets/waveform_view.h"
#include "ui/korvex_window.h"
#include "ui/screenshot.h"

namespace korvex::test {
namespace {

const char* const kPageFiles[] = {"file", "properties", "messages", "phones", "zones", "log", "names", "communicator"};

using Screenshots = KorvexWindow;

TEST_F(Screenshots, EveryPageRendersInsideTheWindow) {
    UseRealDemo();
    OpenDemo();
    Click("readData");
    Click("readSound");
    ASSERT_TRUE(dialogs->messages.empty());

    const QString out = qEnvironmentVariable("KORVEX_SCREENSHOT_DIR");
    for (int id = 1; id <= 8; ++id) {
        frame->PageAction(id)->trigger();
        if (id == int(PageId::Log)) Click("readLog");  // the demo module's log
        const QImage image = RenderWidget(*frame);
        EXPECT_EQ(image.size(), frame->size());
        // The page is drawn: more than one colour inside the work area.
        const QRect area(View().mapTo(frame.get(), QPoint(0, 0)), View().size());
        const QImage work = image.copy(area);
        bool varied = false;
        for (int y = 0; y < work.height() && !varied; y += 3)
            for (int x = 0; x < work.width() && !varied; x += 3) varied = work.pixel(x, y) != work.pixel(0, 0);
        EXPECT_TRUE(varied) << kPageFiles[id - 1];
        if (!out.isEmpty()) {
            EXPECT_TRUE(SaveScreenshot(*frame, QDir(out).filePath(QStringLiteral("%1-page.png").arg(kPageFiles[id - 1]))));
        }
    }
    // The File page shows the demo message in green.
    frame->PageAction(int(PageId::File))->trigger();
    EXPECT_GT(CountPixels(RenderWidget(*Find<WaveformView>("waveform")), qRgb(0, 255, 0)), 500);
}

// The report of the demo module after Read data, Read sound and a log read,
// laid out as PDF; kept as demo-report.pdf for the README's picture.
TEST_F(Screenshots, DemoReportPdf) {
    UseRealDemo();
    OpenDemo();
    Click("readData");
    Click("readSound");
    frame->PageAction(int(PageId::Log))->trigger();
    Click("readLog");
    ASSERT_TRUE(dialogs->messages.empty());
    const auto* log = dynamic_cast<const LogPage*>(View().GetPage(int(PageId::Log)));
    ASSERT_NE(log, nullptr);
    ASSERT_FALSE(log->ListedRows().empty());
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    EXPECT_GE(WriteReportPdf(MakeReport(*model, log->ListedRows()), pdf), 2);
    const QString out = qEnvironmentVariable("KORVEX_SCREENSHOT_DIR");
    if (!out.isEmpty()) {
        QFile file(QDir(out).filePath(QStringLiteral("demo-report.pdf")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(pdf.data());
    }
}

}  // namespace
}  // namespace korvex::test
