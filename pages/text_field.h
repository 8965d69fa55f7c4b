#pragma once
#include <QString>

#include <memory>
#include <string>
#include <string_view>

#include "link/profile.h"

class QLineEdit;
class QWidget;

namespace korvex {

class Dialogs;
class TranslitEdit;

// The settings hold texts as code page 1251 bytes; the controls show Unicode.
QString FromCp1251(std::string_view bytes);

// Stores the edit's text into target as code page 1251. A character the
// code page cannot hold is refused, never replaced: target keeps its value,
// the edit shows it again, and a message box names the character. The edit
// is reset before the box opens, because opening it takes the focus away
// from the edit and stores once more. False when the text was refused.
bool StoreCp1251(QLineEdit* edit, std::string& target, ModuleKind kind, Dialogs& dialogs);
// The same for an SMS text sent in the GSM 7-bit alphabet, except that a
// character the alphabet lacks (such as "`") costs only itself: the text is
// stored without it, the edit keeps it as typed, and the edit is marked, its
// tip naming the character; the message box names it once for each text.
bool StoreGsmText(QLineEdit* edit, std::string& target, ModuleKind kind, Dialogs& dialogs);
// The tip a GSM text's edit and counter carry while it holds a character the
// alphabet lacks, naming the first; empty when it holds none.
QString NotGsmTip(const QString& text, ModuleKind kind);
// Red with `tip` as its tip, or as the window has it for an empty tip.
void MarkNotGsm(QWidget* widget, const QString& tip);

// A character the edit does not let through as it is typed (one the module
// cannot store, "№" among them) is told in a message box naming it.
void TellRefusedTyping(TranslitEdit* edit, ModuleKind kind, std::unique_ptr<Dialogs>& dialogs);

// Sets the edit's text and the number of characters typing may reach. A
// line edit cuts any text longer than its maximum length, and the store on
// focus loss would then shorten a value the user never touched; so a longer
// value from the module or a project file is shown whole, and the maximum
// comes down to the limit as the user shortens it.
void ShowWhole(QLineEdit* edit, const QString& text, int limit);

}  // namespace korvex
