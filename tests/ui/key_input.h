#pragma once
// Typing any text into a widget. QTest::keyClicks only types Latin-1, so
// Cyrillic and other letters are sent as key events carrying their text.
#include <QApplication>
#include <QKeyEvent>
#include <QString>
#include <QWidget>

namespace korvex::test {

inline void TypeText(QWidget* widget, const QString& text, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    for (const QChar c : text) {
        const int key = c.toUpper().unicode();
        QKeyEvent press(QEvent::KeyPress, key, modifiers, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

}  // namespace korvex::test
