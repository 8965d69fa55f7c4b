// The compact program's dialog laid out for its work: every page fills the
// frame, a text at its 68-character limit is seen whole, and nothing moves
// when the free-memory text changes.
#include <QGroupBox>
#include <QLayout>

#include "model/config_settings.h"
#include "widgets/waveform_view.h"
#include "ui/tamlo_window.h"

namespace korvex::test {
namespace {

using TamloLayout = TamloWindow;

TEST_F(TamloLayout, EveryPageFillsTheFrame) {
    auto* host = Find<QWidget>("pageHost");
    const QRect cell = host->layout()->contentsRect();
    for (int id = 1; id <= MainDialog::kPageCount; ++id) {
        ChoosePage(PageId(id));
        QCoreApplication::processEvents();
        EXPECT_EQ(dialog->GetPage(id)->geometry(), cell) << id;
    }
}

TEST_F(TamloLayout, ATextAtItsLimitIsSeenWhole) {
    // 68 septets of an ordinary alarm text.
    const QString text = QStringLiteral("Trevoga! Zona 3: proniknovenie v pomeshchenie. Pozvonite v okhranu!!");
    ASSERT_EQ(text.size(), kLatinTextLimit);
    ChoosePage(PageId::Messages);
    for (int line = 1; line <= CompactProfile().textCount; ++line) {
        auto* edit = Find<QLineEdit>(QStringLiteral("text%1").arg(line).toLatin1().constData());
        edit->setText(text);
        edit->setCursorPosition(static_cast<int>(text.size()));
        edit->grab();  // painting scrolls the text to bring the cursor into view
        // Not scrolled: the first character still sits at the left edge.
        EXPECT_EQ(edit->cursorPositionAt(QPoint(edit->contentsRect().left() + 4, edit->height() / 2)), 0) << line;
    }
}

TEST_F(TamloLayout, TheSoundGroupKeepsItsWidthAsTheFreeMemoryTextChanges) {
    ChoosePage(PageId::File);
    QCoreApplication::processEvents();
    auto* group = Find<QGroupBox>("soundGroup");
    auto* memory = Find<QLabel>("memoryText");
    auto* waveform = Find<WaveformView>("waveform");
    const QString textBefore = memory->text();
    const int widthBefore = group->width();
    const QRect waveBefore = waveform->geometry();
    const QSize dialogBefore = dialog->size();

    OpenDemo();
    Click("readSound");  // the demo's messages: "N KByte are free"
    QCoreApplication::processEvents();
    ASSERT_NE(memory->text(), textBefore);
    EXPECT_EQ(group->width(), widthBefore);
    EXPECT_EQ(waveform->geometry(), waveBefore);
    EXPECT_EQ(dialog->size(), dialogBefore);
    // The text is not cut off.
    EXPECT_LE(memory->fontMetrics().horizontalAdvance(memory->text()), memory->contentsRect().width());
}

}  // namespace
}  // namespace korvex::test
