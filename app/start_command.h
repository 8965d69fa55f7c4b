#pragma once
#include <QString>
#include <QStringList>

#include "link/profile.h"

namespace korvex {

// What a window program was started to do: run, opening the project file
// named, if any; or only print its help or version; or refuse a command
// line it cannot follow.
struct StartCommand {
    enum class Action { Run, Help, Version, Refused };
    Action action = Action::Run;
    QString project;  // absolute; empty when none is named
    QString text;     // what Help, Version and Refused print
};

// Reads `korvex [--help] [--version] [FILE.rom]` (tamlo alike) from
// QCoreApplication::arguments(), where Qt's own options are already taken
// out. The words are the program's (`kind`), the name and version the
// application's.
StartCommand ParseStartCommand(const QStringList& arguments, ModuleKind kind);

// Prints what a command that does not run says, help and version on the
// standard output, a refusal on the standard error. Returns the exit
// status: 0, or 1 for a refusal (korvex-cli's usage error).
int PrintStartCommand(const StartCommand& command);

}  // namespace korvex
