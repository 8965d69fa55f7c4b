#pragma once
// The compact program's main dialog on the simulated demo module, with
// dialogs that answer themselves.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <fstream>
#include <functional>
#include <memory>

#include "tamlo/tamlo_dialog.h"
#include "pages/file_page.h"
#include "app/app_flags.h"
#include "app/app_model.h"
#include "sim/demo.h"
#include "ui/page_driving.h"  // QStrings printed readably
#include "ui/status_samples.h"
#include "ui/recording_dialogs.h"
#include "ui/test_module.h"

namespace korvex::test {

inline const char* PageButtonName(PageId id) {
    switch (id) {
        case PageId::File: return "pageFile";
        case PageId::Properties: return "pageProperties";
        case PageId::Messages: return "pageMessages";
        case PageId::Phones: return "pagePhones";
        case PageId::Zones: return "pageZones";
        default: return "";
    }
}

inline void WriteBytes(const QString& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path.toStdString(), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

class TamloWindow : public ::testing::Test {
protected:
    void SetUp() override {
        SetCyrillicAllowed(0);
        sim.module.Memory() = MakeDemoMemory(CompactProfile());
        model = std::make_unique<AppModel>(CompactProfile(), sim.Opener());
        auto recording = std::make_unique<RecordingDialogs>();
        dialogs = recording.get();
        model->dialogs = std::move(recording);
        dialog = std::make_unique<MainDialog>(*model);
        dialog->show();
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }

    template <class W>
    W* Find(const char* name) {
        W* widget = dialog->findChild<W*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QPushButton* Button(const char* name) { return Find<QPushButton>(name); }

    void Click(const char* name) {
        QPushButton* button = Button(name);
        ASSERT_TRUE(button->isVisible() && button->isEnabled()) << name;
        QTest::mouseClick(button, Qt::LeftButton);
    }
    void ChoosePage(PageId id) { Click(PageButtonName(id)); }

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
        list->setCurrentIndex(entry);
        emit list->activated(entry);
    }

    // File page shown, "Demo module" chosen and its port opened.
    void OpenDemo() {
        ChoosePage(PageId::File);
        auto* ports = Find<QComboBox>("portList");
        ports->setCurrentIndex(ports->findData(QString::fromLatin1(kDemoPortName.data())));
        Click("openPort");
        ASSERT_TRUE(model->link.IsOpen()) << dialogs->TakeTexts().join('\n').toStdString();
    }

    QStringList StatusesDuring(const std::function<void()>& action) {
        return korvex::test::StatusesDuring(*Find<QLabel>("status"), action);
    }

    std::vector<std::uint8_t> ModuleImage() const { return sim.Image(CompactProfile()); }

    TestModule sim;
    std::unique_ptr<AppModel> model;
    RecordingDialogs* dialogs = nullptr;
    std::unique_ptr<MainDialog> dialog;  // destroyed before the model it uses
};

}  // namespace korvex::test
