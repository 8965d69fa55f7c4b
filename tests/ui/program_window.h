#pragma once
// What the window tests of both programs share: the program's model on a
// simulated module with dialogs that answer themselves, and the window's
// controls found by object name and used as the user uses them.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStringList>
#include <QTest>
#include <gtest/gtest.h>
#include <functional>
#include <memory>

#include "link/profile.h"
#include "app/app_model.h"
#include "ui/page_driving.h"
#include "ui/recording_dialogs.h"
#include "ui/status_samples.h"
#include "ui/test_module.h"

namespace korvex::test {

class ProgramWindow : public ::testing::Test {
protected:
    // The program's main window; null before the fixture has made it.
    virtual QWidget* Window() = 0;
    // Page `id` chosen as the user chooses it, with the window's own button.
    virtual void ChoosePage(PageId id) = 0;

    // `model` made for `profile` on `sim`, its questions recorded in `dialogs`.
    void MakeModel(const Profile& profile) {
        model = std::make_unique<AppModel>(profile, sim.Opener());
        auto recording = std::make_unique<RecordingDialogs>();
        dialogs = recording.get();
        model->dialogs = std::move(recording);
    }

    template <class W>
    W* Find(const char* name) {
        W* widget = Window()->findChild<W*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QPushButton* Button(const char* name) { return Find<QPushButton>(name); }

    // A button the user can see and press, clicked.
    void Click(QWidget* button) {
        ASSERT_NE(button, nullptr);
        ASSERT_TRUE(button->isVisible() && button->isEnabled()) << button->objectName().toStdString();
        QTest::mouseClick(button, Qt::LeftButton);
    }
    void Click(const char* name) { Click(Button(name)); }

    // Replaces a field's text as the user types it; the field keeps the focus.
    void Type(const char* name, const QString& text) {
        auto* edit = Find<QLineEdit>(name);
        ASSERT_TRUE(edit->isVisible()) << name;
        edit->setFocus(Qt::OtherFocusReason);
        ASSERT_TRUE(edit->hasFocus()) << name;
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }

    // A list entry chosen by the user.
    void Pick(const char* name, int entry) {
        auto* list = Find<QComboBox>(name);
        ASSERT_TRUE(list->isVisible() && list->isEnabled()) << name;
        test::Pick(list, entry);
    }

    // File page shown, the demo module chosen and its port opened.
    void OpenDemo() {
        ChoosePage(PageId::File);
        auto* ports = Find<QComboBox>("portList");
        ports->setCurrentIndex(ports->findData(QString::fromLatin1(kDemoPortName.data())));
        Click("openPort");
        ASSERT_TRUE(model->link.IsOpen()) << dialogs->TakeTexts().join('\n').toStdString();
    }

    // The status line's texts while `action` runs.
    QStringList StatusesDuring(const std::function<void()>& action) {
        return test::StatusesDuring(*Find<QLabel>("status"), action);
    }

    TestModule sim;
    std::unique_ptr<AppModel> model;
    RecordingDialogs* dialogs = nullptr;
};

}  // namespace korvex::test
