#pragma once

class QWidget;

namespace korvex {

class Dialogs;

// A window's size and place kept between sessions (maximised too), where
// the program keeps its other choices (Dialogs::Remembered).
//
// Puts the window back where it was when it last closed; false, and the
// window left as it is, when nothing is remembered or what is cannot be
// read.
bool RestoreWindowPlace(Dialogs& dialogs, QWidget& window);
// Keeps the window's size and place, as it closes.
void RememberWindowPlace(Dialogs& dialogs, const QWidget& window);

}  // namespace korvex
