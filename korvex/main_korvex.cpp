#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "link/profile.h"
#include "app/app_model.h"
#include "app/start_command.h"
#include "pages/file_page.h"
#include "korvex/korvex_frame.h"
#include "korvex/korvex_view.h"
#include "app/toolbar_icons.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("korvex"));
    QApplication::setApplicationDisplayName(QStringLiteral("Korvex"));
    // Ties the window to its menu entry, so the desktop shows the entry's name and icon.
    QApplication::setDesktopFileName(QStringLiteral("org.korvex.korvex"));
    QApplication::setWindowIcon(korvex::ApplicationIcon());
    // The program speaks Russian; so should Qt's own buttons and file dialogs.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
    const korvex::StartCommand start = korvex::ParseStartCommand(QApplication::arguments(), korvex::ModuleKind::Full);
    if (start.action != korvex::StartCommand::Action::Run) return korvex::PrintStartCommand(start);

    korvex::AppModel model(korvex::FullProfile());
    korvex::CMainFrame frame(model);
    frame.show();
    frame.View()->GetFilePage()->OpenAtStart(start);
    return app.exec();
}
