#pragma once
#include <QPixmap>
#include <QPushButton>

namespace korvex {

// Push button that shows a bitmap: centred when the button has no text,
// 4 pixels from the left edge with the text 8 pixels after it when it has.
// Pressed, everything moves one pixel right and down; disabled, the bitmap
// is drawn in the style's disabled look and no focus rectangle is drawn.
class ImageButton : public QPushButton {
    Q_OBJECT
public:
    explicit ImageButton(QWidget* parent = nullptr);

    // Copies the image to width by height pixels as the normal face and
    // makes the disabled face from it. False, and no change, when the image
    // is empty or the size is not positive.
    bool SetImage(const QPixmap& image, int width, int height);
    const QPixmap& Image() const { return normal_; }

    QSize sizeHint() const override;

    // The play sign of the File page's preview button, 16 by 15 pixels.
    static QPixmap PlayBitmap();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap normal_;
    QPixmap disabled_;
};

}  // namespace korvex
