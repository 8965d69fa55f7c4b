// Both programs' windows fit the screen: they resize down to what the
// largest page needs and up to maximised, every page fills the window at
// the smallest and at a large size with no control over another or cut
// off, and the size and place are kept for the next session.
#include <QLayout>

#include "ui/korvex_window.h"
#include "ui/tamlo_window.h"
#include "ui/window_controls.h"

namespace korvex::test {
namespace {

struct KorvexSizes : KorvexWindow {
    static constexpr int kPages = CKorvexView::kPageCount;
    QWidget* PageOf(int id) { return View().GetPage(id); }
    QRect Cell() { return View().rect(); }
    int RowNeeds() { return 0; }  // the toolbar folds what does not fit
    void Reopen() {
        frame.reset();
        frame = std::make_unique<CMainFrame>(*model);
        frame->show();
    }
};
struct TamloSizes : TamloWindow {
    static constexpr int kPages = MainDialog::kPageCount;
    QWidget* PageOf(int id) { return dialog->GetPage(id); }
    QRect Cell() {
        auto* host = Find<QWidget>("pageHost");
        return host->contentsRect().marginsRemoved(host->layout()->contentsMargins());
    }
    // The page area's width the button row above it needs.
    int RowNeeds() {
        auto* host = Find<QWidget>("pageHost");
        return dialog->layout()->itemAt(0)->layout()->minimumSize().width() - (host->width() - Cell().width());
    }
    void Reopen() {
        dialog.reset();
        dialog = std::make_unique<MainDialog>(*model);
        dialog->show();
    }
};

template <class Program>
class WindowLayout : public Program {
protected:
    // Resized as a person drags its corner, the layout settled.
    void Resize(const QSize& size) {
        this->Window()->resize(size);
        QCoreApplication::processEvents();
    }
    // Each page shown: it fills the window's page area, and no control is
    // cut off, outside it, or over another.
    void ExpectEveryPageLaidOut(const char* where) {
        for (int id = 1; id <= Program::kPages; ++id) {
            this->ChoosePage(PageId(id));
            QCoreApplication::processEvents();
            QWidget* page = this->PageOf(id);
            SCOPED_TRACE(testing::Message() << where << ", page " << id);
            EXPECT_EQ(page->geometry(), this->Cell());
            const QList<QWidget*> shown = ShownControls(page, true);
            for (int i = 0; i < shown.size(); ++i) {
                const QRect a = PlaceIn(shown[i], page);
                const std::string name =
                    std::string(shown[i]->metaObject()->className()) + " " + shown[i]->objectName().toStdString();
                EXPECT_TRUE(page->rect().contains(a)) << name;
                if (!qobject_cast<QLabel*>(shown[i])) {
                    EXPECT_GE(a.width(), shown[i]->minimumSizeHint().width()) << name;
                    EXPECT_GE(a.height(), shown[i]->minimumSizeHint().height()) << name;
                }
                for (int j = i + 1; j < shown.size(); ++j) {
                    if (shown[i]->isAncestorOf(shown[j]) || shown[j]->isAncestorOf(shown[i])) continue;
                    EXPECT_FALSE(a.intersects(PlaceIn(shown[j], page)))
                        << name << " and " << shown[j]->metaObject()->className() << " "
                        << shown[j]->objectName().toStdString();
                }
            }
        }
    }
};

using Programs = ::testing::Types<KorvexSizes, TamloSizes>;
struct ProgramNames {
    template <class T>
    static std::string GetName(int) {
        return std::is_same_v<T, KorvexSizes> ? "Korvex" : "Tamlo";
    }
};
TYPED_TEST_SUITE(WindowLayout, Programs, ProgramNames);

TYPED_TEST(WindowLayout, ResizesDownToWhatThePagesNeedAndMaximises) {
    QWidget* window = this->Window();
    EXPECT_EQ(window->maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    // No smaller than the largest page (or the button row) needs, and no
    // larger a minimum than that.
    QSize largest;
    for (int id = 1; id <= TypeParam::kPages; ++id) largest = largest.expandedTo(this->PageOf(id)->minimumSizeHint());
    this->Resize(QSize(100, 100));
    EXPECT_EQ(window->size(), window->minimumSizeHint());
    EXPECT_EQ(this->Cell().size(), largest.expandedTo(QSize(this->RowNeeds(), 0)));
    this->Resize(QSize(1400, 900));
    EXPECT_EQ(window->size(), QSize(1400, 900));
    window->showMaximized();
    QCoreApplication::processEvents();  // a state change the window might undo is posted
    EXPECT_TRUE(window->windowState() & Qt::WindowMaximized);
}

TYPED_TEST(WindowLayout, EveryPageFillsTheWindowAtTheSmallestAndALargeSize) {
    this->OpenDemo();
    this->Click("readData");
    this->Click("readSound");
    ASSERT_TRUE(this->dialogs->TakeTexts().isEmpty());
    this->Resize(QSize(100, 100));
    this->ExpectEveryPageLaidOut("smallest");
    this->Resize(QSize(1400, 900));
    this->ExpectEveryPageLaidOut("1400x900");
}

TYPED_TEST(WindowLayout, TheSizeAndPlaceAreKeptForTheNextSession) {
    this->Window()->resize(900, 700);
    this->Window()->move(40, 50);
    QCoreApplication::processEvents();
    const QRect kept = this->Window()->geometry();
    ASSERT_TRUE(this->Window()->close());
    this->Reopen();
    EXPECT_EQ(this->Window()->geometry(), kept);

    this->Window()->showMaximized();
    QCoreApplication::processEvents();
    ASSERT_TRUE(this->Window()->close());
    this->Reopen();
    QCoreApplication::processEvents();
    EXPECT_TRUE(this->Window()->windowState() & Qt::WindowMaximized);
}

}  // namespace
}  // namespace korvex::test
