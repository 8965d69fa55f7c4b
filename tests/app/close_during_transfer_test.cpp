// A close requested while any page's transfer runs waits until the transfer
// has ended, in both programs: the port stays open under the transfer, and
// the window closes (with the port) once the transfer is over.
#include <QTimer>

#include "pages/log_page.h"
#include "ui/korvex_window.h"
#include "ui/tamlo_window.h"

namespace korvex::test {
namespace {

struct CloseProbe {
    bool asked = false;
    bool closedAtOnce = false;
    bool openAtClose = false;
    bool visibleAtClose = false;
};

// Asks `window` to close as soon as `bar` shows, i.e. inside the transfer
// (a transfer lets timers run while it repaints), as a user clicking the
// close box would.
class CloseWhenBarShows {
public:
    CloseWhenBarShows(QWidget* window, QWidget* bar, ModuleLink& link) {
        timer_.setInterval(0);
        QObject::connect(&timer_, &QTimer::timeout, [this, window, bar, &link] {
            if (probe.asked || !bar->isVisible()) return;
            probe.asked = true;
            probe.closedAtOnce = window->close();
            probe.openAtClose = link.IsOpen();
            probe.visibleAtClose = window->isVisible();
        });
        timer_.start();
    }
    CloseProbe probe;

private:
    QTimer timer_;
};

void ExpectPutOff(const CloseProbe& probe, QWidget* window, ModuleLink& link, const char* button) {
    EXPECT_TRUE(probe.asked) << button;
    EXPECT_FALSE(probe.closedAtOnce) << button;
    EXPECT_TRUE(probe.openAtClose) << button;
    EXPECT_TRUE(probe.visibleAtClose) << button;
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); })) << button;
    EXPECT_FALSE(link.IsOpen()) << button;
}

// Korvex: the File page's four transfers and the Log page's two.
struct KorvexTransfer {
    PageId page;
    const char* button;
    const char* bar;
};
void PrintTo(const KorvexTransfer& t, std::ostream* os) { *os << t.button; }

class KorvexCloseDuringTransfer : public KorvexWindow, public ::testing::WithParamInterface<KorvexTransfer> {
};

TEST_P(KorvexCloseDuringTransfer, WaitsForTheTransferToEnd) {
    const KorvexTransfer& t = GetParam();
    // The program's own demo port: its lines live in the port, so a port
    // closed under the transfer is freed memory the bus goes on using.
    UseRealDemo();
    OpenDemo();
    // Something read, so no write asks whether an empty configuration is meant.
    Click("readData");
    Click("readSound");
    dialogs->answerYes = true;
    dialogs->TakeTexts();
    frame->PageAction(int(t.page))->trigger();
    CloseWhenBarShows closer(frame.get(), Find<QWidget>(t.bar), model->link);
    Click(t.button);
    ExpectPutOff(closer.probe, frame.get(), model->link, t.button);
    EXPECT_TRUE(dialogs->TakeTexts().isEmpty()) << t.button;
}

INSTANTIATE_TEST_SUITE_P(EveryPage, KorvexCloseDuringTransfer,
                         ::testing::Values(KorvexTransfer{PageId::File, "readData", "transferBar"},
                                           KorvexTransfer{PageId::File, "writeData", "transferBar"},
                                           KorvexTransfer{PageId::File, "readSound", "transferBar"},
                                           KorvexTransfer{PageId::File, "writeSound", "transferBar"},
                                           KorvexTransfer{PageId::Log, "readLog", "logBar"},
                                           KorvexTransfer{PageId::Log, "clearLog", "logBar"}),
                         [](const auto& info) { return std::string(info.param.button); });

class TamloCloseDuringTransfer : public TamloWindow, public ::testing::WithParamInterface<const char*> {
};

TEST_P(TamloCloseDuringTransfer, WaitsForTheTransferToEnd) {
    const char* button = GetParam();
    OpenDemo();
    Click("readData");
    Click("readSound");
    dialogs->answerYes = true;
    dialogs->TakeTexts();
    CloseWhenBarShows closer(dialog.get(), Find<QWidget>("transferBar"), model->link);
    Click(button);
    ExpectPutOff(closer.probe, dialog.get(), model->link, button);
    EXPECT_TRUE(dialogs->TakeTexts().isEmpty()) << button;
}

INSTANTIATE_TEST_SUITE_P(FilePage, TamloCloseDuringTransfer,
                         ::testing::Values("readData", "writeData", "readSound", "writeSound"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
}  // namespace korvex::test
