// Transfers run in the background, in both programs: the window answers at
// once while one runs, and Stop ends it at the next safe point. The demo
// module runs at a real FTDI cable's pace here, so a transfer lasts seconds.
#include <QElapsedTimer>
#include <QProgressBar>
#include <QResizeEvent>
#include <QTimer>
#include <QToolBar>
#include <algorithm>

#include "ui/korvex_window.h"
#include "ui/tamlo_window.h"

namespace korvex::test {
namespace {

constexpr std::uint8_t kOld = 0x5A;
constexpr std::size_t kSoundBytes = 3000;

// Notes that a resize event reached `window`.
class ResizeSeen final : public QObject {
public:
    explicit ResizeSeen(QWidget* window) : window_(window) { window_->installEventFilter(this); }
    ~ResizeSeen() override { window_->removeEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Resize) seen = true;
        return false;
    }
    bool seen = false;

private:
    QWidget* window_;
};

template <class Window>
class Background : public Window {
protected:
    // The demo module at an FTDI cable's pace from the next port opened.
    void AtCablePace() { this->model->link.SetDemoPace(FindPortModel("ftdi")); }

    // A sound in slot 1 over a voice memory holding kOld.
    void PrepareSoundOverOldData() {
        const Profile& profile = this->model->profile;
        auto& memory = this->sim.module.Memory();
        std::fill(memory.begin() + profile.directoryAddress + DirectoryBytes(profile), memory.end(), kOld);
        this->model->voice.slotLength[0] = static_cast<int>(kSoundBytes);
        const auto area = this->model->voice.Area(0);
        for (std::size_t i = 0; i < kSoundBytes; ++i) area[i] = static_cast<std::uint8_t>(i * 7 % 251);
        this->model->soundLoaded = true;
    }

    // Once the bar has passed `bytes`, clicks Stop as a user would.
    void StopAfter(int bytes) {
        auto* bar = this->template Find<QProgressBar>("transferBar");
        ASSERT_TRUE(QTest::qWaitFor([&] { return bar->isVisible() && bar->value() >= bytes; }, 120000));
        this->Click("stopTransfer");
    }

    // The slot's bytes in the module: new whole pages from its start, then
    // the old data; the pages written stop at a page boundary.
    void ExpectWholePagesThenOldData() {
        const std::size_t start = this->model->voice.slotStart[0];
        const auto& memory = this->sim.module.Memory();
        const auto area = this->model->voice.Area(0);
        std::size_t written = 0;
        while (written < kSoundBytes && memory[start + written] == area[written]) ++written;
        EXPECT_GT(written, 0u);
        EXPECT_LT(written, kSoundBytes) << "the write ran to its end";
        EXPECT_EQ((start + written) % 64, 0u) << "a page was cut: " << start + written;
        for (std::size_t i = written; i < kSoundBytes; ++i) ASSERT_EQ(memory[start + i], kOld) << start + i;
        // Nothing of the slot is known held: the next write writes it whole.
        EXPECT_FALSE(this->model->voice.held[0].has_value());
    }
};

using KorvexBackground = Background<KorvexWindow>;
using TamloBackground = Background<TamloWindow>;

TEST_F(KorvexBackground, AStoppedSoundWriteLeavesTheOldDataBeyondThePagesWritten) {
    AtCablePace();
    OpenDemo();
    PrepareSoundOverOldData();
    QTest::mouseClick(Button("writeSound"), Qt::LeftButton);
    StopAfter(256);
    ExpectWholePagesThenOldData();
    EXPECT_EQ(dialogs->TakeTexts(), QStringList{QStringLiteral("Передача остановлена\nМодуль может теперь хранить "
                                                               "часть новых данных; повторите запись.")});
    EXPECT_TRUE(Find<QLabel>("status")->text().startsWith(QStringLiteral("Передача остановлена (")));
    EXPECT_TRUE(model->link.IsOpen());
}

// The event loop's delay while a transfer runs: a posted call, a resize
// and a page switch are each handled at once, not when the transfer ends.
TEST_F(KorvexBackground, TheWindowAnswersAtOnceWhileATransferRuns) {
    AtCablePace();
    OpenDemo();
    PrepareSoundOverOldData();
    QTest::mouseClick(Button("writeSound"), Qt::LeftButton);
    auto* bar = Find<QProgressBar>("transferBar");
    ASSERT_TRUE(QTest::qWaitFor([&] { return bar->isVisible(); }, 60000));

    std::vector<qint64> posted, resized, switched;
    QElapsedTimer clock;
    for (int i = 0; i < 5 && model->transfers.Running(); ++i) {
        bool ran = false;
        clock.start();
        QTimer::singleShot(0, frame.get(), [&] { ran = true; });
        ASSERT_TRUE(QTest::qWaitFor([&] { return ran; }, 10000));
        posted.push_back(clock.elapsed());

        // The window system's resize, as it reaches the window (its size is fixed).
        ResizeSeen seen(frame.get());
        clock.start();
        QCoreApplication::postEvent(frame.get(), new QResizeEvent(frame->size(), frame->size()));
        ASSERT_TRUE(QTest::qWaitFor([&] { return seen.seen; }, 10000));
        resized.push_back(clock.elapsed());

        const PageId page = i % 2 ? PageId::File : PageId::Phones;
        clock.start();
        QTest::mouseClick(frame->ToolBar()->widgetForAction(frame->PageAction(int(page))), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return View().CurrentPage() == int(page); }, 10000));
        switched.push_back(clock.elapsed());
    }
    const bool stillRunning = model->transfers.Running();
    model->transfers.RequestStop();
    WaitForTransfer();
    ASSERT_TRUE(stillRunning) << "the transfer ended before the window was tried";
    for (auto* samples : {&posted, &resized, &switched}) {
        ASSERT_FALSE(samples->empty());
        std::sort(samples->begin(), samples->end());
        EXPECT_LT((*samples)[samples->size() / 2], 50) << "median of " << samples->size() << " in ms";
    }
}

TEST_F(TamloBackground, AStoppedSoundWriteIsToldInEnglish) {
    AtCablePace();
    OpenDemo();
    PrepareSoundOverOldData();
    QTest::mouseClick(Button("writeSound"), Qt::LeftButton);
    StopAfter(256);
    ExpectWholePagesThenOldData();
    EXPECT_EQ(dialogs->TakeTexts(),
              QStringList{QStringLiteral("Transfer stopped\nThe module may now hold part of the new data; repeat "
                                         "the write.")});
}

// A stopped read leaves what the window shows as it was.
TEST_F(TamloBackground, AStoppedSoundReadChangesNothing) {
    // The module is given a sound at the machine's pace, then reopened at the cable's.
    OpenDemo();
    PrepareSoundOverOldData();
    Click("writeSound");
    ASSERT_TRUE(dialogs->TakeTexts().isEmpty());
    Click("openPort");
    AtCablePace();
    Click("openPort");
    ASSERT_TRUE(model->link.IsOpen());
    model->voice = VoiceStore(model->profile);
    model->soundLoaded = false;
    const auto wavBefore = model->wav.bytes;
    QTest::mouseClick(Button("readSound"), Qt::LeftButton);
    StopAfter(256);
    EXPECT_EQ(model->voice.slotLength[0], 0);
    EXPECT_FALSE(model->soundLoaded);
    EXPECT_TRUE(model->wav.bytes == wavBefore);
    EXPECT_TRUE(dialogs->TakeTexts().isEmpty());
    EXPECT_TRUE(Find<QLabel>("status")->text().startsWith(QStringLiteral("Transfer stopped (")));
}

}  // namespace
}  // namespace korvex::test
