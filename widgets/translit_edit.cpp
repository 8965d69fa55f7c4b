#include "widgets/translit_edit.h"

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

#include "app/app_flags.h"
#include "widgets/translit.h"

namespace korvex {

bool IsPasteKey(const QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) return true;
    const auto mods = event->modifiers() & ~Qt::KeypadModifier;
    return (event->key() == Qt::Key_V && mods == Qt::ControlModifier) ||
           (event->key() == Qt::Key_Insert && mods == Qt::ShiftModifier);
}

bool IsPasteAction(const QAction* action) {
    // Newer Qt names the entry; older Qt is known by its (translated) text.
    return action->objectName() == QLatin1String("edit-paste") ||
           action->text().section(u'\t', 0, 0) == QLineEdit::tr("&Paste");
}

void TranslitEdit::SetShownChars(int chars) {
    shownChars_ = chars;
    updateGeometry();
}

QSize TranslitEdit::sizeHint() const {
    QSize hint = QLineEdit::sizeHint();
    // A line edit asks for 17 'x' of text; the rest of its hint is frame and margins.
    constexpr int kOwnChars = 17;
    if (shownChars_ > kOwnChars)
        hint.rwidth() += fontMetrics().horizontalAdvance(QString(shownChars_ - kOwnChars, u'x'));
    return hint;
}

bool IsTypedText(const QKeyEvent* event) {
    const QString text = event->text();
    if (text.isEmpty()) return false;
    const auto mods = event->modifiers() & ~Qt::KeypadModifier;
    // Ctrl and Ctrl+Shift are shortcuts; AltGr (Ctrl+Alt) types.
    if (mods == Qt::ControlModifier || mods == (Qt::ControlModifier | Qt::ShiftModifier)) return false;
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) return false;
    }
    return true;
}

TranslitEdit::TranslitEdit(QWidget* parent) : QLineEdit(parent) { setAcceptDrops(false); }

QString TranslitEdit::Filter(const QString& text) {
    const bool cyrillic = CyrillicAllowed() == 1;
    QString out;
    for (const char32_t c : text.toUcs4()) {
        const QString typed = TransliterateTyped(c, cyrillic);
        if (typed.isEmpty()) emit CharacterRefused(c);
        out += typed;
    }
    return out;
}

void TranslitEdit::keyPressEvent(QKeyEvent* event) {
    if (IsPasteKey(event)) {
        event->accept();
        return;
    }
    if (isReadOnly() || !IsTypedText(event)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    // Each produced character is typed by itself, with the modifiers and
    // repeat of the original press, so overwrite mode, selection and the
    // length limit apply to it as to any typed character.
    for (const QChar c : Filter(event->text())) {
        QKeyEvent one(QEvent::KeyPress, 0, event->modifiers(), QString(c), event->isAutoRepeat());
        QLineEdit::keyPressEvent(&one);
    }
    event->accept();
}

void TranslitEdit::inputMethodEvent(QInputMethodEvent* event) {
    if (event->commitString().isEmpty() || isReadOnly()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent filtered(event->preeditString(), event->attributes());
    filtered.setCommitString(Filter(event->commitString()), event->replacementStart(),
                             event->replacementLength());
    QLineEdit::inputMethodEvent(&filtered);
    event->accept();
}

QMenu* TranslitEdit::CreateFilteredContextMenu() {
    QMenu* menu = createStandardContextMenu();
    for (QAction* action : menu->actions()) {
        if (IsPasteAction(action)) {
            action->disconnect();
            action->setEnabled(false);
        }
    }
    return menu;
}

void TranslitEdit::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = CreateFilteredContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
    event->accept();
}

void TranslitEdit::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) {
        event->accept();
        return;
    }
    QLineEdit::mousePressEvent(event);
}

void TranslitEdit::mouseReleaseEvent(QMouseEvent* event) {
    // The middle button pastes the X11 selection.
    if (event->button() == Qt::MiddleButton) {
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void TranslitEdit::dragEnterEvent(QDragEnterEvent* event) { event->ignore(); }

void TranslitEdit::dragMoveEvent(QDragMoveEvent* event) { event->ignore(); }

void TranslitEdit::dropEvent(QDropEvent* event) { event->ignore(); }

}  // namespace korvex
