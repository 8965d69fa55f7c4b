// An FTDI cable in synchronous bit-bang mode in Korvex: the status line
// says which path the port takes, and the transfers read what the module holds.
#include "sim/simulated_ft232r.h"
#include "ui/korvex_window.h"

namespace korvex::test {
namespace {

// The simulated module behind a simulated FT232R, as ftdi/ opens a real one.
class BitBangPort final : public ModulePort {
public:
    explicit BitBangPort(SimulatedModule& module) : module_(module), chip_(module) {}
    ModemLines& Lines() override { return module_; }
    SleepFn Sleeper() override { return module_.Sleeper(); }
    PinStream* Stream() override { return &chip_; }

private:
    SimulatedModule& module_;
    SimulatedFt232r chip_;
};

class KorvexFtdiCable : public KorvexWindow {
protected:
    void UseBitBang() {
        model->link.SetOpener([this](const std::string&, const Profile&) {
            PortOpening opening;
            opening.port = std::make_unique<BitBangPort>(sim.module);
            return opening;
        });
    }
};

TEST_F(KorvexFtdiCable, TheStatusLineSaysTheFastFtdiPathAndTheReadIsRight) {
    UseBitBang();
    OpenDemo();
    EXPECT_TRUE(model->link.Probe().pinStream);
    EXPECT_EQ(Find<QLabel>("status")->text(), QStringLiteral("быстрый режим FTDI"));
    Click("readData");
    EXPECT_TRUE(dialogs->TakeTexts().isEmpty());
    EXPECT_EQ(model->readImage, sim.Image(FullProfile()));
    // Another port, the serial path: the line is gone with it.
    Click("openPort");
    model->link.SetOpener(sim.Opener());
    Click("openPort");
    ASSERT_TRUE(model->link.IsOpen());
    EXPECT_NE(Find<QLabel>("status")->text(), QStringLiteral("быстрый режим FTDI"));
}

}  // namespace
}  // namespace korvex::test
