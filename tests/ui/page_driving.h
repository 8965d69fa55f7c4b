#pragma once
// Driving a page as the user does: a page shown in an active window, focus
// moved in and out of fields, list entries chosen, boxes clicked.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "link/profile.h"
#include "app/app_model.h"

// Readable QStrings in test failures.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace korvex::test {

inline constexpr QSize kPageSize(640, 430);

inline const char* KindName(ModuleKind kind) { return kind == ModuleKind::Full ? "Korvex" : "Tamlo"; }

inline std::string KindTestName(const ::testing::TestParamInfo<ModuleKind>& info) { return KindName(info.param); }

// Shows the page as its own active window, so that focus moves as on screen.
inline void ShowActive(QWidget& page) {
    page.resize(kPageSize);
    page.show();
    page.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
}

// Focus into a field, then out of it to a widget that stores nothing.
inline void Enter(QWidget* field) {
    field->setFocus(Qt::OtherFocusReason);  // a Tab would select the text
    ASSERT_TRUE(field->hasFocus());
}
inline void Leave(QWidget* field) {
    ASSERT_TRUE(field->hasFocus());
    field->clearFocus();
}

// A list entry chosen by the user (setCurrentIndex alone is what a reload does).
inline void Pick(QComboBox* list, int entry) {
    ASSERT_TRUE(list->isEnabled());
    list->setCurrentIndex(entry);
    emit list->activated(entry);
}

inline QStringList Entries(const QComboBox* list) {
    QStringList entries;
    for (int i = 0; i < list->count(); ++i) entries << list->itemText(i);
    return entries;
}

// Runs action while accepting the one message box it opens; returns the
// box's text, empty when none opened.
template <typename Action>
QString AcceptMessageBox(Action action) {
    QString text;
    QTimer::singleShot(0, [&text] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            text = box->text();
            box->accept();
        }
    });
    action();
    QCoreApplication::processEvents();
    return text;
}

}  // namespace korvex::test
