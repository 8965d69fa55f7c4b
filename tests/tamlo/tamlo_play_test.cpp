// The compact program's Play returns when the sound has finished; the wait
// keeps the window painting.
#include <QElapsedTimer>
#include <QPaintEvent>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include "app/wait_without_input.h"
#include "app/wav_player.h"

namespace korvex::test {
namespace {

class PaintCounter : public QWidget {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

TEST(TamloPlay, TheWaitLastsUntilTheEndAndTheWindowKeepsPainting) {
    PaintCounter window;
    window.resize(100, 60);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QCoreApplication::processEvents();
    const int paintsBefore = window.paints;

    // Something asks for a repaint while the sound plays; the sound ends later.
    QTimer::singleShot(20, &window, [&window] { window.update(); });
    QTimer end;
    end.setSingleShot(true);
    end.start(150);
    QElapsedTimer clock;
    clock.start();
    WaitWithoutInput(&end, &QTimer::timeout, std::chrono::seconds(10));
    const qint64 waited = clock.elapsed();

    EXPECT_GE(waited, 140);
    EXPECT_LT(waited, 5000);
    EXPECT_GT(window.paints, paintsBefore);
}

TEST(TamloPlay, AnEndThatNeverComesIsWaitedForOnlyUpToTheLimit) {
    QTimer never;
    QElapsedTimer clock;
    clock.start();
    WaitWithoutInput(&never, &QTimer::timeout, std::chrono::milliseconds(80));
    EXPECT_GE(clock.elapsed(), 70);
    EXPECT_LT(clock.elapsed(), 5000);
}

TEST(TamloPlay, NothingPlayableReturnsAtOnce) {
    WavPlayer player;
    std::vector<std::uint8_t> empty(256100, 127);
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(player.PlayToEnd(empty, 0));
    EXPECT_LT(clock.elapsed(), 1000);
}

}  // namespace
}  // namespace korvex::test
