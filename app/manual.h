#pragma once
#include <QString>
#include <QStringList>

#include "app/app_model.h"

class QWidget;

namespace korvex {

// The folders a user manual may lie in, first found first: beside an
// installed program (PREFIX/share/korvex/manual), beside a Windows program
// (manual/ next to it), then the source tree the program was built from.
QStringList ManualFolders();

// The manual's page in `language` ("ru", "en") under the first folder that
// holds one; the other language's where none holds that one; empty when
// there is none at all.
QString FindManual(const QString& language, const QStringList& folders);

// F1 and Help > Manual: opens the manual in the program's language with the
// system's viewer, or tells where it was looked for.
void OpenManual(AppModel& model, QWidget* parent, const QStringList& folders = ManualFolders());

}  // namespace korvex
