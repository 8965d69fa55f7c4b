#pragma once
// The controls a window shows now, as a person (or a screen reader) meets
// them: what takes input or tells a value, not the parts Qt builds inside
// a control (a combo box's edit, a table's scroll bars and headers).
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QProgressBar>
#include <QWidget>

namespace korvex::test {

// True for a widget Qt made as a part of another control below `top`.
inline bool PartOfAControl(const QWidget* widget, const QWidget* top) {
    if (widget->objectName().startsWith(QStringLiteral("qt_"))) return true;
    for (const QWidget* up = widget->parentWidget(); up && up != top; up = up->parentWidget()) {
        if (qobject_cast<const QComboBox*>(up) || qobject_cast<const QAbstractSpinBox*>(up) ||
            qobject_cast<const QAbstractScrollArea*>(up))
            return true;
    }
    return false;
}

inline bool IsControl(const QWidget* widget) {
    return qobject_cast<const QAbstractButton*>(widget) || qobject_cast<const QComboBox*>(widget) ||
           qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QAbstractSpinBox*>(widget) ||
           qobject_cast<const QAbstractItemView*>(widget) || qobject_cast<const QAbstractSlider*>(widget) ||
           qobject_cast<const QProgressBar*>(widget) || (widget->focusPolicy() & Qt::TabFocus) != 0;
}

// The visible controls below `top`; with `labels`, the visible labels too.
inline QList<QWidget*> ShownControls(QWidget* top, bool labels = false) {
    QList<QWidget*> shown;
    for (QWidget* w : top->findChildren<QWidget*>()) {
        if (!w->isVisible() || PartOfAControl(w, top)) continue;
        if (IsControl(w) || (labels && qobject_cast<QLabel*>(w) && !qobject_cast<QLabel*>(w)->text().isEmpty()))
            shown << w;
    }
    return shown;
}

// What a screen reader names a control by: its accessible name, else a
// label beside it that names it as its buddy (Qt looks among the
// control's siblings), else a button's own text.
inline QString SpokenName(const QWidget* control) {
    if (!control->accessibleName().isEmpty()) return control->accessibleName();
    if (const QWidget* parent = control->parentWidget()) {
        for (const QLabel* label : parent->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
            if (label->buddy() == control && !label->text().isEmpty()) return label->text();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(control)) return button->text();
    return {};
}

// Where `widget` is inside `top`.
inline QRect PlaceIn(const QWidget* widget, const QWidget* top) {
    return {widget->mapTo(top, QPoint(0, 0)), widget->size()};
}

}  // namespace korvex::test
