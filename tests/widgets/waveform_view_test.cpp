#include "widgets/waveform_view.h"

#include <gtest/gtest.h>
#include <vector>

#include "ui/screenshot.h"

namespace korvex {
namespace {

constexpr QRgb kGreen = qRgb(0, 255, 0);
constexpr int kWidth = 100;
constexpr int kHeight = 50;

// Green rows of one pixel column.
std::vector<int> GreenRows(const QImage& image, int x) {
    std::vector<int> rows;
    for (int y = 0; y < image.height(); ++y) {
        if ((image.pixel(x, y) & 0xFFFFFF) == (kGreen & 0xFFFFFF)) rows.push_back(y);
    }
    return rows;
}

class WaveformViewTest : public ::testing::Test {
protected:
    WaveformViewTest() : wav(WaveformView::kHeaderSize + 1000, 128) { view.resize(kWidth, kHeight); }

    std::uint8_t& Sample(std::size_t i) { return wav[WaveformView::kHeaderSize + i]; }
    QImage Render() { return view.grab().toImage().convertToFormat(QImage::Format_RGB32); }

    std::vector<std::uint8_t> wav;
    WaveformView view;
};

TEST_F(WaveformViewTest, NothingLoadedIsBlack) {
    const QImage image = Render();
    EXPECT_EQ(test::CountPixels(image, qRgb(0, 0, 0)), kWidth * kHeight);
}

TEST_F(WaveformViewTest, LoudSoundDrawsTallLines) {
    for (std::size_t i = 0; i < 1000; ++i) Sample(i) = (i / 2) % 2 ? 255 : 0;
    view.SetBuffer(wav);
    view.SetSoundLength(2 * kWidth);  // step 2: column x reads sample 2x
    const QImage image = Render();
    ASSERT_GT(test::CountPixels(image, kGreen), 0) << "nothing drawn";
    for (int x = 0; x < kWidth; ++x) {
        const std::vector<int> rows = GreenRows(image, x);
        // 255 reaches both edges; 0 too, short of the bottom row.
        const std::size_t expected = x % 2 ? kHeight : kHeight - 1;
        EXPECT_EQ(rows.size(), expected) << "column " << x;
        EXPECT_EQ(rows.front(), 0) << "column " << x;
    }
}

TEST_F(WaveformViewTest, SilenceIsADotAtTheCentre) {
    view.SetBuffer(wav);
    view.SetSoundLength(1000);
    const QImage image = Render();
    for (int x = 0; x < kWidth; ++x) {
        const std::vector<int> rows = GreenRows(image, x);
        ASSERT_EQ(rows.size(), 1u) << "column " << x;
        EXPECT_NEAR(rows[0], kHeight / 2, 1) << "column " << x;
    }
}

TEST_F(WaveformViewTest, LineLengthGrowsWithDistanceFromSilence) {
    const std::uint8_t levels[] = {127, 140, 170, 200, 230, 255};
    for (std::size_t i = 0; i < std::size(levels); ++i) Sample(i * 10) = levels[i];
    view.SetBuffer(wav);
    view.SetSoundLength(10 * kWidth);  // step 10
    const QImage image = Render();
    std::size_t previous = 0;
    for (std::size_t i = 0; i < std::size(levels); ++i) {
        const std::vector<int> rows = GreenRows(image, static_cast<int>(i));
        EXPECT_GT(rows.size(), previous) << "level " << int(levels[i]);
        // Centred: as far from the top as from the bottom, within a pixel.
        EXPECT_NEAR(rows.front(), kHeight - 1 - rows.back(), 1) << "level " << int(levels[i]);
        previous = rows.size();
    }
}

TEST_F(WaveformViewTest, ShortSoundRepeatsTheFirstSample) {
    Sample(0) = 255;
    Sample(1) = 128;
    view.SetBuffer(wav);
    view.SetSoundLength(kWidth - 1);  // step 0
    const QImage image = Render();
    for (int x = 0; x < kWidth; ++x) EXPECT_EQ(GreenRows(image, x).size(), std::size_t{kHeight}) << x;
}

TEST_F(WaveformViewTest, LengthBeyondTheBufferReadsSilence) {
    for (std::size_t i = 0; i < 1000; ++i) Sample(i) = 0;
    view.SetBuffer(wav);
    view.SetSoundLength(static_cast<std::uint32_t>(wav.size()) * 2);  // runs past the end
    const QImage image = Render();
    EXPECT_GT(GreenRows(image, 0).size(), 40u);
    EXPECT_EQ(GreenRows(image, kWidth - 1).size(), 1u);
}

}  // namespace
}  // namespace korvex
