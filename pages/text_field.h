#pragma once
#include <QString>

#include <string>
#include <string_view>

#include "link/profile.h"

class QLineEdit;

namespace korvex {

class Dialogs;

// The settings hold texts as code page 1251 bytes; the controls show Unicode.
QString FromCp1251(std::string_view bytes);

// Stores the edit's text into target as code page 1251. A character the
// code page cannot hold is refused, never replaced: target keeps its value,
// the edit shows it again, and a message box names the character. The edit
// is reset before the box opens, because opening it takes the focus away
// from the edit and stores once more. False when the text was refused.
bool StoreCp1251(QLineEdit* edit, std::string& target, ModuleKind kind, Dialogs& dialogs);
// The same for an SMS text sent in the GSM 7-bit alphabet: a character the
// alphabet lacks (such as "`", or "№" of the code page) is refused too.
bool StoreGsmText(QLineEdit* edit, std::string& target, ModuleKind kind, Dialogs& dialogs);

// Sets the edit's text and the number of characters typing may reach. A
// line edit cuts any text longer than its maximum length, and the store on
// focus loss would then shorten a value the user never touched; so a longer
// value from the module or a project file is shown whole, and the maximum
// comes down to the limit as the user shortens it.
void ShowWhole(QLineEdit* edit, const QString& text, int limit);

}  // namespace korvex
