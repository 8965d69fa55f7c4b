#pragma once
#include "pages/transfer_status.h"
// The texts a status line shows while an action runs.
#include <QLabel>
#include <QStringList>
#include <QTimer>
#include <functional>

namespace korvex::test {

// The line's texts in order, each once, as the File page's transfer
// status gives them.
inline QStringList StatusesDuring(TransferStatus& status, const std::function<void()>& action) {
    QStringList seen;
    const QMetaObject::Connection heard =
        QObject::connect(&status, &TransferStatus::LineChanged, [&seen](const QString& text) {
            if (seen.isEmpty() || seen.back() != text) seen << text;
        });
    action();
    QObject::disconnect(heard);
    return seen;
}

}  // namespace korvex::test
