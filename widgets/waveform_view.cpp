#include "widgets/waveform_view.h"

#include <QPainter>
#include <algorithm>

namespace korvex {

WaveformView::WaveformView(QWidget* parent) : QFrame(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void WaveformView::SetBuffer(std::span<const std::uint8_t> wav) {
    wav_ = wav;
    update();
}

void WaveformView::SetSoundLength(std::uint32_t length) {
    soundLength_ = length;
    update();
}

void WaveformView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.end();
    QFrame::paintEvent(event);  // the frame, if any, over the black

    const QRect area = contentsRect();
    const int width = area.width();
    const int height = area.height();
    if (width <= 0 || height <= 0 || wav_.empty()) return;

    painter.begin(this);
    painter.setClipRect(area);
    const std::uint64_t step = soundLength_ / static_cast<std::uint32_t>(width);
    for (int x = 0; x < width; ++x) {
        // A length that runs past the end of the buffer (a full buffer plus
        // its header) reads silence there instead of beyond the buffer.
        const std::uint64_t at = kHeaderSize + static_cast<std::uint64_t>(x) * step;
        int v = at < wav_.size() ? wav_[at] : 128;
        if (v == 128) v = 127;
        const int b = v * height / 255;
        const int top = std::min(b, height - 1 - b);
        const int bottom = std::max(b, height - 1 - b);
        // At least one pixel, so silence shows as a dot on every height.
        painter.fillRect(area.left() + x, area.top() + top, 1, std::max(1, bottom - top), QColor(0, 255, 0));
    }
}

}  // namespace korvex
