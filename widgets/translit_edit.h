#pragma once
#include <QLineEdit>

class QAction;
class QMenu;

namespace korvex {

// Single-line edit for SMS texts. Typed characters go through
// TransliterateTyped, reading CyrillicAllowed() at every key press; each
// character that comes out is typed on its own, so the length limit cuts a
// multi-letter result after the letters that still fit; a character that
// comes out as nothing is told with CharacterRefused. Text cannot be
// pasted in by any way: keyboard, context menu, middle click or drop.
// Cut, copy and undo are the line edit's own.
class TranslitEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TranslitEdit(QWidget* parent = nullptr);

    // The line edit's own context menu with its paste entry disabled; the
    // caller owns it.
    QMenu* CreateFilteredContextMenu();

    // The width the edit asks for: room for `chars` characters of text
    // (0, the default: what any line edit asks for). A layout with less
    // room still gives it less.
    void SetShownChars(int chars);
    QSize sizeHint() const override;

signals:
    // A typed character the module could not store was left out.
    void CharacterRefused(char32_t character);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // What `text` types; each refused character is told.
    QString Filter(const QString& text);

    int shownChars_ = 0;
};

// True for the key presses that paste: Ctrl+V, Shift+Insert and whatever
// else the platform binds to paste.
bool IsPasteKey(const QKeyEvent* event);

// True for the paste entry of a line edit's standard context menu.
bool IsPasteAction(const QAction* action);

// True for a key press whose text the line edit would insert (not a
// shortcut, not a control character).
bool IsTypedText(const QKeyEvent* event);

}  // namespace korvex
