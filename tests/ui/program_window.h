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

    // A button the user can see and press, clicked; a transfer it starts
    // has ended when this returns (its events were handled meanwhile).
    void Click(QWidget* button) {
        ASSERT_NE(button, nullptr);
        ASSERT_TRUE(button->isVisible() && button->isEnabled()) << button->objectName().toStdString();
        QTest::mouseClick(button, Qt::LeftButton);
        WaitForTransfer();
    }
    // Clicks `name` and runs `during` at a known point inside the transfer
    // it starts: its `calls`-th line call waits meanwhile, what it posted
    // before has reached the window. `during` must not wait for the
    // transfer's end; the transfer has ended when this returns.
    void ClickAndActInside(const char* name, const std::function<void()>& during, long calls = 3000) {
        QPushButton* button = Button(name);
        ASSERT_TRUE(button && button->isVisible() && button->isEnabled()) << name;
        sim.gate.CloseAfter(calls);
        QTest::mouseClick(button, Qt::LeftButton);
        const bool reached = QTest::qWaitFor([this] { return sim.gate.Waiting(); }, 60000);
        QCoreApplication::processEvents();
        if (reached) during();
        sim.gate.Open();
        ASSERT_TRUE(reached) << name << ": the transfer never reached its line call " << calls;
        WaitForTransfer();
    }
    void WaitForTransfer() {
        if (!model) return;
        ASSERT_TRUE(QTest::qWaitFor([this] { return !model->transfers.Running(); }, 600000));
        QCoreApplication::processEvents();  // what its end put off (a dialog it opens)
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
        return test::StatusesDuring(*Window()->findChild<TransferStatus*>("transferStatus"), action);
    }

    TestModule sim;
    std::unique_ptr<AppModel> model;
    RecordingDialogs* dialogs = nullptr;
};

}  // namespace korvex::test
