// The File page follows the profile: the compact program uses the same page
// with its slots, its messages and English texts.
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "model/image_codec.h"
#include "pages/file_page.h"
#include "sim/demo.h"
#include "ui/recording_dialogs.h"
#include "ui/test_module.h"

namespace korvex::test {
namespace {

struct ProfileCase {
    ModuleKind kind;
    QStringList slotNames;
    bool versionShown;
    QString demo;
    QString openPort;
    QString closePort;
    QString notOpened;
    QString notConnected;
};

const ProfileCase kCases[] = {
    {ModuleKind::Full, {"Звук 1", "Звук 2", "Звук 3", "Звук 4", "Звук 5", "Звук 6"}, true, "Демо-модуль",
     "Открыть порт", "Закрыть порт", "COM порт не открыт!", "Устройство не подключено"},
    {ModuleKind::Compact, {"# 1", "# 2", "# 3"}, false, "Demo module", "Open port", "Close port",
     "COM port is not opened", "Device is not connected!"},
};

class FilePageProfile : public ::testing::TestWithParam<ProfileCase> {
protected:
    void SetUp() override {
        const Profile& profile = ProfileFor(GetParam().kind);
        sim.module.Memory() = MakeDemoMemory(profile);
        model = std::make_unique<AppModel>(profile, sim.Opener());
        auto recording = std::make_unique<RecordingDialogs>();
        dialogs = recording.get();
        model->dialogs = std::move(recording);
        page = std::make_unique<FilePage>(*model);
        page->resize(640, 430);
        page->show();
    }
    template <class W>
    W* Find(const char* name) {
        W* w = page->findChild<W*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void Click(const char* name) {
        auto* b = Find<QPushButton>(name);
        ASSERT_TRUE(b->isEnabled()) << name;
        QTest::mouseClick(b, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([this] { return !model->transfers.Running(); }, 600000));
    }
    void ChoosePort(const QString& name) {
        auto* ports = Find<QComboBox>("portList");
        ports->setCurrentIndex(ports->findData(name));
    }

    TestModule sim;
    std::unique_ptr<AppModel> model;
    RecordingDialogs* dialogs = nullptr;
    std::unique_ptr<FilePage> page;
};

TEST_P(FilePageProfile, ShowsTheProgramsWordsAndSlots) {
    const ProfileCase& c = GetParam();
    auto* slotList = Find<QComboBox>("slotList");
    QStringList names;
    for (int i = 0; i < slotList->count(); ++i) names << slotList->itemText(i);
    EXPECT_EQ(names, c.slotNames);
    EXPECT_EQ(Find<QLineEdit>("version")->isVisible(), c.versionShown);
    auto* ports = Find<QComboBox>("portList");
    EXPECT_EQ(ports->itemText(ports->count() - 1), c.demo);
    EXPECT_EQ(Find<QPushButton>("openPort")->text(), c.openPort);

    Click("openPort");  // COM1 is refused by the test opener
    EXPECT_EQ(dialogs->TakeTexts(), QStringList{c.notOpened});
    ChoosePort("demo");
    Click("openPort");
    EXPECT_EQ(Find<QPushButton>("openPort")->text(), c.closePort);
}

TEST_P(FilePageProfile, ReadWriteAndMessagesFollowTheModule) {
    const ProfileCase& c = GetParam();
    const Profile& profile = model->profile;
    bool loaded = false;
    QObject::connect(page.get(), &FilePage::ConfigurationLoaded, [&] { loaded = true; });
    ChoosePort("demo");
    Click("openPort");
    Click("readData");
    EXPECT_TRUE(dialogs->TakeTexts().isEmpty());
    EXPECT_TRUE(loaded);
    ConfigSettings expected;
    UnpackImage(profile, std::vector<std::uint8_t>(sim.module.Memory().begin(), sim.module.Memory().begin() + profile.imageSize), expected);
    EXPECT_EQ(model->settings, expected);
    EXPECT_EQ(page->VersionText(), c.versionShown ? QStringLiteral("1.04") : QString());

    model->settings.phones[7] = "+1234";
    Click("writeData");
    EXPECT_TRUE(dialogs->TakeTexts().isEmpty());
    ConfigSettings written;
    UnpackImage(profile, std::vector<std::uint8_t>(sim.module.Memory().begin(), sim.module.Memory().begin() + profile.imageSize), written);
    EXPECT_EQ(written.phones[7], "+1234");

    Click("readSound");
    EXPECT_TRUE(dialogs->TakeTexts().isEmpty());
    EXPECT_GT(model->voice.slotLength[0], 0);
    Click("writeSound");
    EXPECT_TRUE(dialogs->TakeTexts().isEmpty());

    sim.module.GetFaults().absent = true;
    for (const char* button : {"readData", "writeData", "readSound", "writeSound"}) {
        Click(button);
        EXPECT_EQ(dialogs->TakeTexts(), QStringList{c.notConnected}) << button;
    }
}

// Every control of the page has a place of its own: none is drawn over another.
TEST_P(FilePageProfile, NoControlCoversAnother) {
    QList<QWidget*> shown;
    for (QWidget* w : page->findChildren<QWidget*>()) {
        if (!w->isVisible() || qobject_cast<QGroupBox*>(w) || w->objectName().startsWith(QStringLiteral("qt_")))
            continue;
        if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
            qobject_cast<QLabel*>(w))
            shown << w;
    }
    ASSERT_GT(shown.size(), 10);
    for (int i = 0; i < shown.size(); ++i) {
        const QRect a(shown[i]->mapTo(page.get(), QPoint()), shown[i]->size());
        for (int j = i + 1; j < shown.size(); ++j) {
            if (shown[i]->isAncestorOf(shown[j]) || shown[j]->isAncestorOf(shown[i])) continue;
            const QRect b(shown[j]->mapTo(page.get(), QPoint()), shown[j]->size());
            EXPECT_FALSE(a.intersects(b))
                << shown[i]->objectName().toStdString() << " " << shown[i]->metaObject()->className() << " and "
                << shown[j]->objectName().toStdString() << " " << shown[j]->metaObject()->className();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BothPrograms, FilePageProfile, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return info.param.kind == ModuleKind::Full ? "Korvex" : "Tamlo"; });

}  // namespace
}  // namespace korvex::test
