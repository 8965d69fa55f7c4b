#pragma once
#include <QObject>
#include <QString>
#include <functional>

class QWidget;

namespace korvex {

struct AppModel;

// Keeps a window's title naming the project file its settings belong to
// and marking unsaved edits with `*` (Qt's `[*]` placeholder and
// windowModified), and asks before a close would lose them. The pages store
// into the settings as the user works; the mark follows every stored edit
// (checked after each input event) and every open, save, read or write.
class EditsGuard final : public QObject {
public:
    struct Texts {
        QString caption;      // the program's own title
        QString askSaveFile;  // %1: the project file's name
        QString askSaveNew;   // when no project file is named
        QString discard;      // the question's button that closes without saving
    };
    // `commit` stores what the field being typed in holds; `save` saves the
    // settings, into the named project file or one the user picks, and is
    // true once they are saved.
    EditsGuard(AppModel& model, QWidget* window, Texts texts, std::function<void()> commit, std::function<bool()> save);
    ~EditsGuard() override;
    EditsGuard(const EditsGuard&) = delete;
    EditsGuard& operator=(const EditsGuard&) = delete;

    // For the window's close: true when it may close, i.e. nothing is
    // unsaved, or the user saved (and the save worked) or discarded.
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

}  // namespace korvex
