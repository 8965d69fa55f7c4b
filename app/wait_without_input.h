#pragma once
#include <QEventLoop>
#include <QObject>
#include <QTimer>
#include <chrono>

namespace korvex {

// Waits inside a button handler until `sender` emits `signal` or `limit`
// has passed. Meanwhile the windows keep painting and timers run, but
// clicks and keys wait until the handler has returned, as if the handler
// had blocked.
template <typename Sender, typename Signal>
void WaitWithoutInput(const Sender* sender, Signal signal, std::chrono::milliseconds limit) {
    QEventLoop loop;
    QObject::connect(sender, signal, &loop, &QEventLoop::quit);
    QTimer::singleShot(limit, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace korvex
