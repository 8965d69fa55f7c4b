// The demo module's pace, chosen in both programs (Korvex's View menu,
// Tamlo's File page): the demo port opened after it runs at a real cable's
// pace with that cable's port model, or in virtual time; the choice is
// locked while the port is open and remembered for the next session.
#include <QAction>
#include <QMenu>

#include "sim/port_model.h"
#include "ui/korvex_window.h"
#include "ui/tamlo_window.h"

namespace korvex::test {
namespace {

struct PaceCase {
    const char* name;
    int choice;             // in the order the programs list them
    const char* portModel;  // the opened module's
    bool realPace;
    bool cachedStatus;  // the probe saw that model's status cache
};
void PrintTo(const PaceCase& c, std::ostream* os) { *os << c.name; }

const PaceCase kCases[] = {
    {"Instant", 0, "default", false, false},
    {"BuiltInPort", 1, "native", true, false},
    {"FtdiOrCp210x", 2, "ftdi", true, false},
    {"Ch340OrPl2303", 3, "ch340", true, true},
};

// What the two programs share; each says how its window offers the choice.
template <class Program>
class DemoPace : public Program, public ::testing::WithParamInterface<PaceCase> {
protected:
    // The choice made as the user makes it.
    virtual void Choose(int choice) = 0;
    // Whether the user can make it now.
    virtual bool Choosable() = 0;
    // A new window of the program on `model`, and the choice it shows.
    virtual std::unique_ptr<QWidget> MakeWindow(AppModel& model) = 0;
    virtual int ShownChoice(QWidget& window) = 0;

    void ExpectTheOpenedModuleTakesThePace() {
        const PaceCase& c = this->GetParam();
        this->ChoosePage(PageId::File);
        // Virtual time until a pace is chosen.
        EXPECT_EQ(this->model->link.DemoPace(), nullptr);
        ASSERT_TRUE(Choosable());
        Choose(c.choice);
        EXPECT_FALSE(this->sim.module.RealPace()) << "taken only when the port opens";
        this->OpenDemo();
        const SimulatedModule& module = this->sim.module;
        EXPECT_EQ(module.RealPace(), c.realPace);
        EXPECT_EQ(module.GetPortModel().name, c.portModel);
        // Set before the probe: the estimates and the cable advice are that cable's.
        EXPECT_EQ(this->model->link.SpecMayMisread(), c.cachedStatus);
        EXPECT_EQ(this->dialogs->remembered.value("demoPace"), c.realPace ? QString(c.portModel) : QString());
    }

    void ExpectLockedWhileThePortIsOpen() {
        this->ChoosePage(PageId::File);
        EXPECT_TRUE(Choosable());
        this->OpenDemo();
        EXPECT_FALSE(Choosable());
        this->Click("openPort");
        ASSERT_FALSE(this->model->link.IsOpen());
        EXPECT_TRUE(Choosable());
    }

    void ExpectANewSessionTakesTheRememberedPace() {
        // Remembered by an earlier session; an unknown name is virtual time.
        const std::pair<const char*, int> remembered[] = {{"ftdi", 2}, {"ch340", 3}, {"", 0}, {"cdc-acm", 0}, {"x", 0}};
        for (const auto& [name, choice] : remembered) {
            AppModel next(this->model->profile, this->sim.Opener());
            auto dialogs = std::make_unique<RecordingDialogs>();
            dialogs->remembered["demoPace"] = QString::fromLatin1(name);
            next.dialogs = std::move(dialogs);
            const std::unique_ptr<QWidget> window = MakeWindow(next);
            EXPECT_EQ(ShownChoice(*window), choice) << name;
            EXPECT_EQ(next.link.DemoPace(), choice == 0 ? nullptr : FindPortModel(name)) << name;
        }
    }
};

const auto kCaseName = [](const auto& info) { return std::string(info.param.name); };

class KorvexDemoPace : public DemoPace<KorvexWindow> {
protected:
    static QAction* ChoiceIn(QWidget& window, int choice) {
        return window.findChild<QAction*>(QStringLiteral("demoPace%1").arg(choice));
    }
    void Choose(int choice) override {
        QAction* action = ChoiceIn(*frame, choice);
        ASSERT_NE(action, nullptr);
        ASSERT_TRUE(action->isEnabled());
        action->trigger();
        EXPECT_TRUE(action->isChecked());
    }
    bool Choosable() override {
        auto* menu = frame->findChild<QAction*>("demoPaceMenu");
        EXPECT_NE(menu, nullptr);
        bool all = menu && menu->isEnabled();
        for (int i = 0; i < 4; ++i) all = all && ChoiceIn(*frame, i)->isEnabled();
        return all;
    }
    std::unique_ptr<QWidget> MakeWindow(AppModel& next) override { return std::make_unique<CMainFrame>(next); }
    int ShownChoice(QWidget& window) override {
        for (int i = 0; i < 4; ++i)
            if (ChoiceIn(window, i)->isChecked()) return i;
        return -1;
    }
};

TEST_P(KorvexDemoPace, TheOpenedModuleTakesThePace) { ExpectTheOpenedModuleTakesThePace(); }
INSTANTIATE_TEST_SUITE_P(Menu, KorvexDemoPace, ::testing::ValuesIn(kCases), kCaseName);

TEST_F(KorvexDemoPace, LockedWhileThePortIsOpen) { ExpectLockedWhileThePortIsOpen(); }
TEST_F(KorvexDemoPace, ANewSessionTakesTheRememberedPace) { ExpectANewSessionTakesTheRememberedPace(); }

TEST_F(KorvexDemoPace, TheMenuListsThePacesInRussian) {
    QStringList texts;
    for (int i = 0; i < 4; ++i) texts << ChoiceIn(*frame, i)->text();
    EXPECT_EQ(texts, (QStringList{"&Мгновенно", "Как кабель: &встроенный порт", "Как кабель: &FTDI/CP210x",
                                  "Как кабель: &CH340/PL2303"}));
    EXPECT_EQ(ShownChoice(*frame), 0);
}

class TamloDemoPace : public DemoPace<TamloWindow> {
protected:
    void Choose(int choice) override { Pick("demoPace", choice); }
    bool Choosable() override {
        auto* list = Find<QComboBox>("demoPace");
        return list && list->isVisible() && list->isEnabled();
    }
    std::unique_ptr<QWidget> MakeWindow(AppModel& next) override { return std::make_unique<MainDialog>(next); }
    int ShownChoice(QWidget& window) override { return window.findChild<QComboBox*>("demoPace")->currentIndex(); }
};

TEST_P(TamloDemoPace, TheOpenedModuleTakesThePace) { ExpectTheOpenedModuleTakesThePace(); }
INSTANTIATE_TEST_SUITE_P(FilePage, TamloDemoPace, ::testing::ValuesIn(kCases), kCaseName);

TEST_F(TamloDemoPace, LockedWhileThePortIsOpen) { ExpectLockedWhileThePortIsOpen(); }
TEST_F(TamloDemoPace, ANewSessionTakesTheRememberedPace) { ExpectANewSessionTakesTheRememberedPace(); }

TEST_F(TamloDemoPace, TheFilePageListsThePacesInEnglish) {
    ChoosePage(PageId::File);
    EXPECT_EQ(Entries(Find<QComboBox>("demoPace")),
              (QStringList{"Instant", "Cable: built-in port", "Cable: FTDI/CP210x", "Cable: CH340/PL2303"}));
    EXPECT_EQ(ShownChoice(*dialog), 0);
}

}  // namespace
}  // namespace korvex::test
