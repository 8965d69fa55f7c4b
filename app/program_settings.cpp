#include "app/program_settings.h"

#include <QApplication>

namespace korvex {

namespace {
const QString kLastPort = QStringLiteral("lastPort");
}

QSettings ProgramSettings() {
    return QSettings(
        QApplication::organizationName().isEmpty() ? QApplication::applicationName() : QApplication::organizationName(),
        QApplication::applicationName());
}

QString LastPort() { return ProgramSettings().value(kLastPort).toString(); }

void RememberPort(const QString& name) { ProgramSettings().setValue(kLastPort, name); }

}  // namespace korvex
