#include "pages/box_helpers.h"

#include <QPushButton>

#include "app/app_model.h"
#include "app/qt_paths.h"

namespace korvex {

QPushButton* BoxButton(std::string_view text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(QtText(text), parent);
    button->setObjectName(name);
    // Room around the caption: the style's own margin is tight for these words.
    button->setMinimumWidth(button->fontMetrics().horizontalAdvance(button->text()) + 28);
    return button;
}

void TellWarning(AppModel& model, QWidget* page, const std::string& text) {
    model.dialogs->Message(page, QMessageBox::Warning, QString::fromStdString(text));
}

}  // namespace korvex
