#include "widgets/digit_edit.h"

#include <QKeyEvent>
#include <QRegularExpressionValidator>

namespace korvex {

DigitEdit::DigitEdit(QWidget* parent) : QLineEdit(parent) {
    setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[3-9]*")), this));
}

void DigitEdit::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    // Keys that edit or leave the field rather than type into it.
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        QLineEdit::keyPressEvent(event);
        return;
    default:
        break;
    }
    const QString text = event->text();
    if (text.isEmpty()) {  // cursor movement and other keys that type nothing
        QLineEdit::keyPressEvent(event);
        return;
    }
    const auto mods = event->modifiers() & ~Qt::KeypadModifier;
    const bool shortcut = mods == Qt::ControlModifier || mods == (Qt::ControlModifier | Qt::ShiftModifier);
    if (!shortcut && text.size() == 1 && text[0] >= u'3' && text[0] <= u'9') {
        QLineEdit::keyPressEvent(event);
        return;
    }
    event->accept();
}

}  // namespace korvex
