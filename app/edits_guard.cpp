#include "app/edits_guard.h"

#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QTimer>
#include <QWidget>

#include "app/app_model.h"

namespace korvex {

namespace {

// Events after which a page may have stored an edit: a field losing the
// focus, a box clicked, a list entry chosen by key or wheel.
bool MayStoreAnEdit(QEvent::Type type) {
    switch (type) {
        case QEvent::FocusOut:
        case QEvent::MouseButtonRelease:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Wheel: return true;
        default: return false;
    }
}

// A "[*]" in a file name is text, not the window's mark.
QString Literal(QString text) { return text.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]")); }

}  // namespace

EditsGuard::EditsGuard(AppModel& model, QWidget* window, Texts texts, std::function<void()> commit,
                       std::function<bool()> save)
    : QObject(window),
      model_(model),
      window_(window),
      texts_(std::move(texts)),
      commit_(std::move(commit)),
      save_(std::move(save)) {
    model_.project.Unnamed(model_.settings);
    model_.edits = this;
    connect(&model_.project, &ProjectState::Changed, this, &EditsGuard::Update);
    // A sound write that ended leaves nothing unwritten, with no input event after it.
    connect(&model_.transfers, &TransferRunner::Finished, this, &EditsGuard::Update);
    qApp->installEventFilter(this);
    Update();
}

EditsGuard::~EditsGuard() {
    if (model_.edits == this) model_.edits = nullptr;
    if (qApp) qApp->removeEventFilter(this);
}

void EditsGuard::Update() {
    const QString file = QFileInfo(model_.project.File()).fileName();
    const QString title = file.isEmpty() ? texts_.caption + QStringLiteral("[*]")
                                         : Literal(file) + QStringLiteral("[*] \u2014 ") + texts_.caption;
    if (window_->windowTitle() != title) window_->setWindowTitle(title);
    window_->setWindowModified(model_.project.Modified(model_.settings) || model_.soundUnwritten);
}

bool EditsGuard::eventFilter(QObject*, QEvent* event) {
    // Looked at once the event has been handled and the page has stored.
    if (MayStoreAnEdit(event->type()) && !updatePending_) {
        updatePending_ = true;
        QTimer::singleShot(0, this, [this] {
            updatePending_ = false;
            Update();
        });
    }
    return false;
}

bool EditsGuard::MayClose() { return MayReplaceSettings() && MayReplaceSound(); }

bool EditsGuard::MayReplaceSound() {
    if (!model_.soundUnwritten) return true;
    // Nothing is lost on a key press alone: Cancel is the default and Escape's answer.
    return model_.dialogs->Choose(window_, texts_.askSound, texts_.dropSound, texts_.cancel);
}

bool EditsGuard::MayReplaceSettings() {
    commit_();
    Update();
    if (!model_.project.Modified(model_.settings)) return true;
    const QString file = QFileInfo(model_.project.File()).fileName();
    const QString text = file.isEmpty() ? texts_.askSaveNew : texts_.askSaveFile.arg(file);
    switch (model_.dialogs->AskSave(window_, text, texts_.discard)) {
        case Dialogs::SaveChoice::Save:
            // A save that failed or was cancelled keeps the window.
            return save_();
        case Dialogs::SaveChoice::Discard: return true;
        case Dialogs::SaveChoice::Cancel: return false;
    }
    return false;
}

bool SettingsMayGo(AppModel& model) { return !model.edits || model.edits->MayReplaceSettings(); }

bool SoundMayGo(AppModel& model) { return !model.edits || model.edits->MayReplaceSound(); }

}  // namespace korvex
