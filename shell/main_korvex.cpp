#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "link/profile.h"
#include "shell/app_model.h"
#include "shell/korvex_frame.h"
#include "shell/toolbar_icons.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("korvex"));
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
