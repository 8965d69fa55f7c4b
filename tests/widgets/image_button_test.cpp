#include "widgets/image_button.h"

#include <gtest/gtest.h>

#include "ui/screenshot.h"

namespace korvex {
namespace {

// The play sign's fill colour.
constexpr QRgb kPlayGreen = qRgb(0, 128, 0);

TEST(ImageButton, PlayBitmapIsSixteenByFifteenAndDrawn) {
    const QPixmap bitmap = ImageButton::PlayBitmap();
    EXPECT_EQ(bitmap.size(), QSize(16, 15));
    EXPECT_GT(test::CountPixels(bitmap.toImage().convertToFormat(QImage::Format_RGB32), kPlayGreen), 20);
}

TEST(ImageButton, RefusesAnEmptyImageOrSize) {
    ImageButton button;
    EXPECT_FALSE(button.SetImage(QPixmap(), 16, 15));
    EXPECT_FALSE(button.SetImage(ImageButton::PlayBitmap(), 0, 15));
    EXPECT_TRUE(button.Image().isNull());
    EXPECT_TRUE(button.SetImage(ImageButton::PlayBitmap(), 16, 15));
    EXPECT_EQ(button.Image().size(), QSize(16, 15));
}

TEST(ImageButton, ShowsTheBitmapCentredAndGreyWhenDisabled) {
    ImageButton button;
    ASSERT_TRUE(button.SetImage(ImageButton::PlayBitmap(), 16, 15));
    button.resize(40, 30);
    const QImage enabled = test::RenderWidget(button);
    EXPECT_GT(test::CountPixels(enabled, kPlayGreen), 20);
    // Centred: the sign's pixels lie around the middle of the button.
    int minX = enabled.width(), maxX = 0;
    for (int y = 0; y < enabled.height(); ++y) {
        for (int x = 0; x < enabled.width(); ++x) {
            if ((enabled.pixel(x, y) & 0xFFFFFF) == (kPlayGreen & 0xFFFFFF)) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
            }
        }
    }
    EXPECT_NEAR((minX + maxX) / 2.0, 20.0, 3.0);

    button.setEnabled(false);
    const QImage disabled = test::RenderWidget(button);
    EXPECT_EQ(test::CountPixels(disabled, kPlayGreen), 0);
    EXPECT_NE(enabled, disabled);
}

}  // namespace
}  // namespace korvex
