#pragma once
// The texts a status line shows while an action runs.
#include <QLabel>
#include <QStringList>
#include <QTimer>
#include <functional>

namespace korvex::test {

// The line's texts in order, each once. Transfers let timers run while they
// repaint, so a timer reads the line as it changes; a text that stands only
// between two repaints may be missed.
inline QStringList StatusesDuring(const QLabel& status, const std::function<void()>& action) {
    QStringList seen;
    QTimer sample;
    sample.setInterval(0);
    QObject::connect(&sample, &QTimer::timeout, [&] {
        if (status.isVisible() && (seen.isEmpty() || seen.back() != status.text())) seen << status.text();
    });
    sample.start();
    action();
    sample.stop();
    return seen;
}

}  // namespace korvex::test
