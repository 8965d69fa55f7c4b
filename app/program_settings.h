#pragma once
#include <QSettings>
#include <QString>

namespace korvex {

// The little a program keeps between runs, under its own name: the folder
// the file dialogs start in and the port last opened.
QSettings ProgramSettings();

// The port whose opening worked last ("COM3", a device path, "demo"); empty
// before the first.
QString LastPort();
void RememberPort(const QString& name);

}  // namespace korvex
