#include <QApplication>

#include "app/start_command.h"
#include "pages/file_page.h"
#include "tamlo/tamlo_app.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tamlo"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tamlo"));
    // Ties the window to its menu entry, so the desktop shows the entry's name and icon.
    QApplication::setDesktopFileName(QStringLiteral("org.korvex.tamlo"));
    const korvex::StartCommand start =
        korvex::ParseStartCommand(QApplication::arguments(), korvex::ModuleKind::Compact);
    if (start.action != korvex::StartCommand::Action::Run) return korvex::PrintStartCommand(start);

    korvex::CTamloApp tamlo;
    tamlo.Dialog().GetFilePage()->OpenAtStart(start);
    // The dialog is the whole program: once it has ended there is nothing
    // left to run.
    tamlo.InitInstance();
    return 0;
}
