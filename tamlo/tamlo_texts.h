#pragma once

namespace korvex {

// The words of the compact program's main dialog (UTF-8). The pages take
// theirs from their own tables by the profile.
struct TamloTexts {
    const char* caption;
    // Page button captions by page number 1..5.
    const char* pageButtons[5];
    const char* exit;
    const char* help;  // the button whose menu holds the manual
    const char* manual;
    const char* manualTip;
    // Closing with unsaved edits; %1 is the project file's name.
    const char* askSaveFile;
    const char* askSaveNew;
    const char* discard;
    // A sound loaded and not written to the module, before it is lost.
    const char* askSound;
    const char* dropSound;
    const char* cancel;
};

inline constexpr TamloTexts kTamloTexts{
    .caption = "Configurator, 4 zones",
    .pageButtons = {"File", "Properties", "Messages", "Phones", "Zones"},
    .exit = "Exit",
    .help = "&Help",
    .manual = "&Manual",
    .manualTip = "The user manual (F1)",
    .askSaveFile = "The configuration has changed. Save the changes to \"%1\"?",
    .askSaveNew = "The configuration has changes that are not saved in a project file. Save them?",
    .discard = "Don't Save",
    .askSound =
        "The sound loaded has not been written to the module (\"Write sound\") and will be lost. Go on without it?",
    .dropSound = "Discard Sound",
    .cancel = "Cancel",
};

}  // namespace korvex
