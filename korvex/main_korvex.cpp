#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "link/profile.h"
#include "app/app_model.h"
#include "korvex/korvex_frame.h"
#include "app/toolbar_icons.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("korvex"));
    QApplication::setApplicationDisplayName(QStringLiteral("Korvex"));
    // Ties the window to its menu entry, so the desktop shows the entry's name and icon.
    QApplication::setDesktopFileName(QStringLiteral("org.korvex.Korvex"));
    QApplication::setWindowIcon(korvex::ApplicationIcon());
    // The program speaks Russian; so should Qt's own buttons and file dialogs.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    korvex::AppModel model(korvex::FullProfile());
    korvex::CMainFrame frame(model);
    frame.show();
    return app.exec();
}
