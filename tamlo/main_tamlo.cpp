#include <QApplication>

#include "tamlo/tamlo_app.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tamlo"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tamlo"));

    korvex::CTamloApp tamlo;
    // The dialog is the whole program: once it has ended there is nothing
    // left to run.
    tamlo.InitInstance();
    return 0;
}
