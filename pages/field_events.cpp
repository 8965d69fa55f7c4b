#include "pages/field_events.h"

#include <QEvent>
#include <QWidget>

namespace korvex {

void FieldEvents::Watch(QWidget* field) {
    if (!stores_.contains(field) && !enters_.contains(field)) field->installEventFilter(this);
}

void FieldEvents::OnFocusLost(QWidget* field, std::function<void()> store) {
    Watch(field);
    stores_[field] = std::move(store);
}

void FieldEvents::OnFocusGained(QWidget* field, std::function<void()> enter) {
    Watch(field);
    enters_[field] = std::move(enter);
}

void FieldEvents::StoreFocused() {
    // The window's focus widget, not the application's: while another
    // window is active the field still holds its text and gets the focus
    // back when its window is activated.
    for (const auto& [field, store] : stores_) {
        auto* widget = static_cast<QWidget*>(field);
        if (widget->window()->focusWidget() == widget) {
            store();
            return;
        }
    }
}

bool FieldEvents::eventFilter(QObject* watched, QEvent* event) {
    const std::map<QObject*, std::function<void()>>* table = nullptr;
    if (event->type() == QEvent::FocusOut) table = &stores_;
    if (event->type() == QEvent::FocusIn) table = &enters_;
    if (table) {
        const auto it = table->find(watched);
        if (it != table->end()) it->second();
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace korvex
