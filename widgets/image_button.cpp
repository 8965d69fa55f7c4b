#include "widgets/image_button.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <algorithm>

namespace korvex {
namespace {
constexpr int kImageMargin = 4;  // left edge to image, when there is text
constexpr int kTextGap = 8;      // image to text
}  // namespace

ImageButton::ImageButton(QWidget* parent) : QPushButton(parent) {}

bool ImageButton::SetImage(const QPixmap& image, int width, int height) {
    if (image.isNull() || width <= 0 || height <= 0) return false;
    // A copy of exactly the asked size: cut or padded, never scaled.
    QPixmap face(width, height);
    face.fill(Qt::transparent);
    {
        QPainter painter(&face);
        painter.drawPixmap(0, 0, image);
    }
    QStyleOption option;
    option.initFrom(this);
    QPixmap grey = style()->generatedIconPixmap(QIcon::Disabled, face, &option);
    if (face.isNull() || grey.isNull()) return false;
    normal_ = face;
    disabled_ = grey;
    setIcon(QIcon());
    updateGeometry();
    update();
    return true;
}

QSize ImageButton::sizeHint() const {
    QSize hint = QPushButton::sizeHint();
    if (!normal_.isNull()) hint = hint.expandedTo(normal_.size() + QSize(12, 10));
    return hint;
}

QPixmap ImageButton::PlayBitmap() {
    QPixmap bitmap(16, 15);
    bitmap.fill(Qt::transparent);
    QPainter painter(&bitmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath triangle;
    triangle.moveTo(4, 2);
    triangle.lineTo(13, 7.5);
    triangle.lineTo(4, 13);
    triangle.closeSubpath();
    painter.fillPath(triangle, QColor(0, 128, 0));
    painter.setPen(QPen(QColor(0, 64, 0), 1));
    painter.drawPath(triangle);
    return bitmap;
}

void ImageButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    // The frame only; image, text and focus are placed below.
    option.text.clear();
    option.icon = QIcon();
    option.state &= ~QStyle::State_HasFocus;
    painter.drawControl(QStyle::CE_PushButtonBevel, option);

    const bool enabled = isEnabled();
    const bool pressed = isDown() || isChecked();
    const QPoint shift = pressed ? QPoint(1, 1) : QPoint(0, 0);
    const QRect client = rect();
    const QString label = text();

    if (!normal_.isNull()) {
        const int y = (client.height() - normal_.height()) / 2;
        const int x = label.isEmpty() ? (client.width() - normal_.width()) / 2 : kImageMargin;
        painter.drawPixmap(QPoint(x, y) + shift, enabled ? normal_ : disabled_);
    }
    if (!label.isEmpty()) {
        const QFontMetrics metrics(font());
        const int textWidth = metrics.horizontalAdvance(label);
        int x;
        if (normal_.isNull()) {
            x = (client.width() - textWidth) / 2;
        } else {
            const int used = kImageMargin + kTextGap + normal_.width();
            x = used + std::max(0, client.width() - used - textWidth) / 2;
        }
        const int y = (client.height() - metrics.height()) / 2 - 1;
        const QRect textRect(QPoint(x, y) + shift, QSize(textWidth, metrics.height()));
        painter.drawItemText(textRect, Qt::AlignLeft | Qt::AlignVCenter, palette(), enabled, label,
                             QPalette::ButtonText);
    }
    if (enabled && hasFocus()) {
        const int smaller = std::min(client.width(), client.height());
        const int inset = smaller < 16 ? smaller / 4 : 3;
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = client.adjusted(inset, inset, -inset, -inset);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

}  // namespace korvex
