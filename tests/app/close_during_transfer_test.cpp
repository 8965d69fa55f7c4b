// A close requested while any page's transfer runs asks whether to stop
// it, in both programs. "Keep waiting" (the default) lets the transfer
// finish and the window stay; "Stop and close" stops the transfer at its
// next safe point and closes the window, with the port, once it has ended.
// The port is never closed under a running transfer.
#include "pages/log_page.h"
#include "ui/korvex_window.h"
#include "ui/tamlo_window.h"

namespace korvex::test {
namespace {

struct TransferButton {
    PageId page;
    const char* button;
};
void PrintTo(const TransferButton& t, std::ostream* os) { *os << t.button; }

// What a close inside the transfer met.
struct CloseProbe {
    bool closedAtOnce = true;
    bool openAtClose = false;
    bool visibleAtClose = false;
};

template <class Fixture>
class CloseDuringTransfer : public Fixture {
protected:
    // Closes the window inside the transfer `button` starts, the question
    // answered with `stop`.
    CloseProbe CloseInside(const char* button, bool stop) {
        CloseProbe probe;
        this->dialogs->chooseGo = stop;
        this->ClickAndActInside(button, [&] {
            probe.closedAtOnce = this->Window()->close();
            probe.openAtClose = this->model->link.IsOpen();
            probe.visibleAtClose = this->Window()->isVisible();
        });
        return probe;
    }
    void Prepare() {
        this->OpenDemo();
        // Something read, so no write asks whether an empty configuration is meant.
        this->Click("readData");
        this->Click("readSound");
        this->dialogs->answerYes = true;
        this->dialogs->TakeTexts();
    }
    void ExpectAsked(const char* question) {
        ASSERT_EQ(this->dialogs->choices.size(), 1u);
        EXPECT_EQ(this->dialogs->choices[0].text, QString::fromUtf8(question));
    }
};

class KorvexClose : public CloseDuringTransfer<KorvexWindow>, public ::testing::WithParamInterface<TransferButton> {};

TEST_P(KorvexClose, KeepWaitingLetsTheTransferFinish) {
    Prepare();
    ChoosePage(GetParam().page);
    const CloseProbe probe = CloseInside(GetParam().button, false);
    ExpectAsked("Идёт обмен с модулем. Остановить его и закрыть программу?");
    EXPECT_EQ(dialogs->choices[0].go, QStringLiteral("Остановить и закрыть"));
    EXPECT_EQ(dialogs->choices[0].hold, QStringLiteral("Подождать"));
    EXPECT_FALSE(probe.closedAtOnce);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_TRUE(model->link.IsOpen());
    EXPECT_TRUE(dialogs->TakeTexts().isEmpty());
}

TEST_P(KorvexClose, StopAndCloseStopsThenCloses) {
    Prepare();
    ChoosePage(GetParam().page);
    const CloseProbe probe = CloseInside(GetParam().button, true);
    ExpectAsked("Идёт обмен с модулем. Остановить его и закрыть программу?");
    EXPECT_FALSE(probe.closedAtOnce);
    EXPECT_TRUE(probe.openAtClose);
    EXPECT_TRUE(probe.visibleAtClose);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !frame->isVisible(); }));
    EXPECT_FALSE(model->link.IsOpen());
}

INSTANTIATE_TEST_SUITE_P(
    EveryPage, KorvexClose,
    ::testing::Values(TransferButton{PageId::File, "readData"}, TransferButton{PageId::File, "writeData"},
                      TransferButton{PageId::File, "readSound"}, TransferButton{PageId::File, "writeSound"},
                      TransferButton{PageId::Log, "readLog"}, TransferButton{PageId::Log, "clearLog"}),
    [](const auto& info) { return std::string(info.param.button); });

class TamloClose : public CloseDuringTransfer<TamloWindow>, public ::testing::WithParamInterface<const char*> {};

TEST_P(TamloClose, AsksAndStopsOnlyWhenTold) {
    Prepare();
    const CloseProbe waiting = CloseInside(GetParam(), false);
    ExpectAsked("A transfer with the module is running. Stop it and close the program?");
    EXPECT_EQ(dialogs->choices[0].go, QStringLiteral("Stop and close"));
    EXPECT_EQ(dialogs->choices[0].hold, QStringLiteral("Keep waiting"));
    EXPECT_FALSE(waiting.closedAtOnce);
    EXPECT_TRUE(dialog->isVisible());

    dialogs->choices.clear();
    const CloseProbe stopping = CloseInside(GetParam(), true);
    ExpectAsked("A transfer with the module is running. Stop it and close the program?");
    EXPECT_TRUE(stopping.openAtClose);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog->isVisible(); }));
    EXPECT_FALSE(model->link.IsOpen());
}

INSTANTIATE_TEST_SUITE_P(FilePage, TamloClose, ::testing::Values("readData", "writeData", "readSound", "writeSound"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
}  // namespace korvex::test
