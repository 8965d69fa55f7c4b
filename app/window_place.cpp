#include "app/window_place.h"

#include <QByteArray>
#include <QWidget>

#include "app/dialogs.h"

namespace korvex {

namespace {
// Qt's own record of the geometry: it brings a window that was on a screen
// no longer there back onto one.
const QString kWindowPlace = QStringLiteral("windowGeometry");
}  // namespace

bool RestoreWindowPlace(Dialogs& dialogs, QWidget& window) {
    const QByteArray kept = QByteArray::fromBase64(dialogs.Remembered(kWindowPlace).toLatin1());
    return !kept.isEmpty() && window.restoreGeometry(kept);
}

void RememberWindowPlace(Dialogs& dialogs, const QWidget& window) {
    dialogs.Remember(kWindowPlace, QString::fromLatin1(window.saveGeometry().toBase64()));
}

}  // namespace korvex
