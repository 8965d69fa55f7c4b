#pragma once
#include <string>
#include <string_view>

class QPushButton;
class QWidget;

namespace korvex {

struct AppModel;

// What the File page's boxes share: their buttons and their warnings.

// A push button with its caption and object name, with room around the caption.
QPushButton* BoxButton(std::string_view text, const char* name, QWidget* parent);

// A warning box over `page` with `text`, as the page tells a failure.
void TellWarning(AppModel& model, QWidget* page, const std::string& text);

}  // namespace korvex
