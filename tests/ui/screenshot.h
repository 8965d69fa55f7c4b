#pragma once
// Renders a widget offscreen, for looking at pixels in tests and for the
// screenshots kept under docs/.
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QString>
#include <QWidget>

namespace korvex::test {

// The widget as it would appear on screen, laid out at its current size
// (shown first if it was never shown, so layouts and fonts are settled).
inline QImage RenderWidget(QWidget& widget) {
    if (!widget.isVisible() && !widget.parentWidget()) widget.show();
    widget.ensurePolished();
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Writes the widget to a PNG file, making the folder if needed.
inline bool SaveScreenshot(QWidget& widget, const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    return RenderWidget(widget).save(path, "PNG");
}

// Kept as `name` in the folder KORVEX_SCREENSHOT_DIR names
// (scripts/screenshots.sh); nothing is written, and all is well, without it.
inline bool KeepScreenshot(QWidget& widget, const QString& name) {
    const QString out = qEnvironmentVariable("KORVEX_SCREENSHOT_DIR");
    return out.isEmpty() || SaveScreenshot(widget, QDir(out).filePath(name));
}

// Pixels of exactly this colour in an image.
inline int CountPixels(const QImage& image, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) count += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
    }
    return count;
}

}  // namespace korvex::test
