#pragma once
#include <QObject>
#include <QString>
#include <functional>

class QWidget;

namespace korvex {

struct AppModel;

// Keeps a window's title naming the project file its settings belong to
// and marking unsaved edits with `*` (Qt's `[*]` placeholder and
// windowModified), and asks before a close, a read from the module or a
// project opened would lose them. The pages store into the settings as the
// user works; the mark follows every stored edit (checked after each input
// event) and every open, save, read or write. A sound loaded into a slot
// and not yet written to the module counts as an unsaved change too.
class EditsGuard final : public QObject {
public:
    struct Texts {
        QString caption;      // the program's own title
        QString askSaveFile;  // %1: the project file's name
        QString askSaveNew;   // when no project file is named
        QString discard;      // the question's button that closes without saving
        QString askSound;     // a sound loaded is not written to the module
        QString dropSound;    // that question's button that goes on without it
        QString cancel;       // and the one that keeps it
    };
    // `commit` stores what the field being typed in holds; `save` saves the
    // settings, into the named project file or one the user picks, and is
    // true once they are saved.
    EditsGuard(AppModel& model, QWidget* window, Texts texts, std::function<void()> commit, std::function<bool()> save);
    ~EditsGuard() override;
    EditsGuard(const EditsGuard&) = delete;
    EditsGuard& operator=(const EditsGuard&) = delete;

    // Before the settings are replaced (Read data, Open): true when they
    // may go, i.e. nothing is unsaved, or the user saved (and the save
    // worked) or discarded. Save / Don't Save / Cancel, as for a close.
    bool MayReplaceSettings();
    // Before the sound loaded is replaced (Read sound): true when nothing
    // loaded is unwritten or the user gives it up.
    bool MayReplaceSound();
    // For the window's close: both of the above.
    bool MayClose();
    // The title and its mark as the model stands now.
    void Update();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    AppModel& model_;
    QWidget* window_;
    Texts texts_;
    std::function<void()> commit_;
    std::function<bool()> save_;
    bool updatePending_ = false;
};

// What the pages ask before they replace the settings or the sound: the
// window's guard's question, or true where no window guards them.
bool SettingsMayGo(AppModel& model);
bool SoundMayGo(AppModel& model);

}  // namespace korvex
