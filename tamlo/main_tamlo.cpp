#include <QApplication>

#include "tamlo/tamlo_app.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tamlo"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tamlo"));
    // Ties the window to its menu entry, so the desktop shows the entry's name and icon.
    QApplication::setDesktopFileName(QStringLiteral("org.korvex.Tamlo"));

    korvex::CTamloApp tamlo;
    // The dialog is the whole program: once it has ended there is nothing
    // left to run.
    tamlo.InitInstance();
    return 0;
}
