#include <QApplication>

#include "link/profile.h"
#include "shell/app_model.h"
#include "shell/korvex_frame.h"
#include "shell/toolbar_icons.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("korvex"));
    QApplication::setWindowIcon(korvex::ApplicationIcon());

    korvex::AppModel model(korvex::FullProfile());
    korvex::CMainFrame frame(model);
    frame.show();
    return app.exec();
}
