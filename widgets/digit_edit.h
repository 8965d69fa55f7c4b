#pragma once
#include <QLineEdit>

namespace korvex {

// Edit for a single digit from 3 to 9 (the autodial cycles). From the
// keyboard only those digits and Backspace are typed; every other
// character, shortcuts that type one included, is dropped. Text that
// arrives another way (context-menu paste, drop, input method) is held to
// the same digits, so the field never holds anything else.
class DigitEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit DigitEdit(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace korvex
