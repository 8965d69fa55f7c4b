#pragma once
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace korvex {

// Every message box and file dialog of the pages goes through here, so that
// tests answer them instead of a person and nothing blocks; so do the
// choices the program remembers, so that tests never touch the user's.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A modal message box titled like the main window; `detail`, when
    // given, is shown under the text in a smaller font.
    virtual void Message(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                         const QString& detail = {});
    // Before a step that erases what the module holds: Yes and No, No the
    // default (Enter and Escape answer No), so no key press alone loses
    // data. True only for Yes.
    virtual bool Confirm(QWidget* parent, const QString& text);

    // The file dialogs: a title, one filter such as "files (*.rom)" and the
    // suffix added to a name typed without one. Empty when cancelled. Saving
    // asks before an existing file is replaced. They start in the folder of
    // the last file that was opened or saved for real (FileUsed).
    virtual QString OpenFileName(QWidget* parent, const QString& title, const QString& filter,
                                 const QString& suffix);
    virtual QString SaveFileName(QWidget* parent, const QString& title, const QString& filter,
                                 const QString& suffix);
    // A file chosen in them was read or written whole: its folder is where
    // the next file dialog starts (QSettings under the program's name). A
    // choice that failed is never remembered, so that a folder such as
    // /proc never becomes the start of every dialog.
    virtual void FileUsed(const QString& path);

    // An offer that loses nothing in the module (cut a sound too long for
    // it): Yes and No, Yes the default (Enter), Escape No. Unlike Confirm,
    // Enter accepts. True for Yes.
    virtual bool Ask(QWidget* parent, const QString& text);

    // A choice between going on and holding back, the buttons named by the
    // caller: `hold` is the default and Escape's answer, so no key press
    // alone gives something up. True for `go`.
    virtual bool Choose(QWidget* parent, const QString& text, const QString& go, const QString& hold);

    // Whether to save unsaved edits before they are lost: Save (the
    // default), Discard, or Cancel (also Escape and the box's close box).
    // `discard` names the Discard button: Qt's own word for it varies by
    // desktop and reads as "reject" in some translations.
    enum class SaveChoice { Save, Discard, Cancel };
    virtual SaveChoice AskSave(QWidget* parent, const QString& text, const QString& discard);

    // What to speak: the text, the voice and the slot's rate, asked for in
    // one dialog (app/speech_dialog.cpp). Nothing when cancelled.
    struct SpeechLabels {
        QString title;
        QString text;
        QString language;
        QStringList languageNames;  // shown
        QStringList languageCodes;  // answered ("ru", "en")
        QString rate;               // the rate row is left out with one rate
        QList<int> rates;           // the first is the default
    };
    struct SpeechRequest {
        QString text;
        QString language;
        int rate = 0;
    };
    virtual std::optional<SpeechRequest> AskSpeech(QWidget* parent, const SpeechLabels& labels);

    // The rate a sound file is converted to, from `rates` (the first is the
    // default). Nothing when cancelled.
    virtual std::optional<int> AskRate(QWidget* parent, const QString& title, const QString& label,
                                       const QList<int>& rates);

    // A choice the program keeps between sessions, where the file dialogs
    // keep their folder (QSettings under the program's name): the value
    // stored under `key`, empty when none is. Tests keep it in memory.
    virtual QString Remembered(const QString& key);
    virtual void Remember(const QString& key, const QString& value);

    // Shows a local document (the manual) with the system's viewer; false
    // when none took it.
    virtual bool OpenDocument(const QString& path);
};

}  // namespace korvex
