// While a transfer runs the window takes input, but no second transfer
// starts and what the transfer works on is locked. Writing what was never
// read or loaded asks first.
#include <QToolBar>
#include <QToolButton>

#include "ui/korvex_window.h"
#include "ui/tamlo_window.h"

namespace korvex::test {
namespace {

using KorvexInput = KorvexWindow;

// While a transfer runs the window works: a page button switches pages at
// once, but a second transfer cannot start, and the port stays open.
TEST_F(KorvexInput, ClicksDuringATransferSwitchPagesButStartNoSecondTransfer) {
    OpenDemo();
    Click("readData");
    Click("readSound");
    QWidget* logButton = frame->ToolBar()->widgetForAction(frame->PageAction(int(PageId::Log)));
    ASSERT_NE(logButton, nullptr);
    int saves = 0;
    bool greyed = false;
    bool switched = false;
    bool stopShown = false;
    ClickAndActInside("writeSound", [&] {
        saves = sim.saves;
        stopShown = Button("stopTransfer")->isVisible() && Button("stopTransfer")->isEnabled();
        greyed =
            !Button("writeSound")->isEnabled() && !Button("readData")->isEnabled() && !Button("openPort")->isEnabled();
        QTest::mouseClick(Button("writeSound"), Qt::LeftButton);  // greyed: nothing
        QTest::mouseClick(logButton, Qt::LeftButton);
        switched = View().CurrentPage() == int(PageId::Log);
    });
    EXPECT_TRUE(stopShown);
    EXPECT_FALSE(Button("stopTransfer")->isVisible());
    EXPECT_TRUE(greyed);
    EXPECT_TRUE(switched);
    EXPECT_EQ(View().CurrentPage(), int(PageId::Log));
    // One write, saved back once.
    EXPECT_EQ(sim.saves, saves + 1);
    EXPECT_TRUE(Button("writeSound")->isEnabled());
    EXPECT_TRUE(dialogs->confirms.isEmpty());
}

// What a transfer reads or writes is locked while it runs, the rest stays
// usable, and everything is unlocked once it has ended.
TEST_F(KorvexInput, ATransferLocksWhatItWorksOnAndNothingElse) {
    struct Case {
        const char* button;
        bool settingsLocked;
        bool soundLocked;
    };
    const Case cases[] = {
        {"readData", true, false}, {"writeData", true, false}, {"readSound", false, true}, {"writeSound", false, true}};
    OpenDemo();
    Click("readData");
    Click("readSound");
    QWidget* settingsPage = View().GetPage(int(PageId::Phones));
    QWidget* soundGroup = Find<QWidget>("soundGroup");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        bool settingsUsable = false;
        bool soundUsable = false;
        ClickAndActInside(c.button, [&] {
            settingsUsable = settingsPage->isEnabled();
            soundUsable = soundGroup->isEnabled();
        });
        EXPECT_EQ(settingsUsable, !c.settingsLocked);
        EXPECT_EQ(soundUsable, !c.soundLocked);
        EXPECT_TRUE(settingsPage->isEnabled());
        EXPECT_TRUE(soundGroup->isEnabled());
    }
}

// Writing settings or sound that were neither read, loaded nor edited asks
// first; No (the default) leaves the module as it was.
TEST_F(KorvexInput, WritingWhatWasNeverReadAsksFirst) {
    OpenDemo();
    const auto before = sim.module.Memory();
    Click("writeData");
    Click("writeSound");
    EXPECT_EQ(dialogs->confirms,
              (QStringList{"В модуль будет записана пустая конфигурация. Продолжить?",
                           "В модуль будет записан пустой звук: голосовые сообщения модуля будут стёрты. Продолжить?"}));
    EXPECT_TRUE(sim.module.Memory() == before);
    EXPECT_FALSE(Find<QLabel>("status")->isVisible());

    // Yes writes it.
    dialogs->confirms.clear();
    dialogs->answerYes = true;
    Click("writeData");
    EXPECT_EQ(dialogs->confirms.size(), 1);
    EXPECT_FALSE(sim.module.Memory() == before);
    EXPECT_TRUE(Find<QLabel>("status")->text().startsWith(QStringLiteral("Данные записаны и проверены (")))
        << Find<QLabel>("status")->text().toStdString();

    // After a read nothing is asked.
    dialogs->confirms.clear();
    Click("readData");
    EXPECT_TRUE(Find<QLabel>("status")->text().startsWith(QStringLiteral("Данные считаны (")));
    Click("writeData");
    Click("readSound");
    Click("writeSound");
    EXPECT_TRUE(dialogs->confirms.isEmpty()) << dialogs->confirms.join('\n').toStdString();
    EXPECT_TRUE(Find<QLabel>("status")->text().startsWith(QStringLiteral("Звук записан и проверен (")));
}

TEST_F(KorvexInput, AnEditedSettingCountsAsKnown) {
    OpenDemo();
    model->settings.objectName = "Edited";
    Click("writeData");
    EXPECT_TRUE(dialogs->confirms.isEmpty());
}

using TamloInput = TamloWindow;

TEST_F(TamloInput, WritingWhatWasNeverReadAsksInEnglish) {
    OpenDemo();
    const auto before = sim.module.Memory();
    Click("writeData");
    Click("writeSound");
    EXPECT_EQ(dialogs->confirms,
              (QStringList{"An empty configuration will be written to the module. Continue?",
                           "Empty sound will be written to the module: its voice messages will be erased. Continue?"}));
    EXPECT_TRUE(sim.module.Memory() == before);
    Click("readData");
    EXPECT_TRUE(Find<QLabel>("status")->text().startsWith(QStringLiteral("Configuration read (")));
}

}  // namespace
}  // namespace korvex::test
