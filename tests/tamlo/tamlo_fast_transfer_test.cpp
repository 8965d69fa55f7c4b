// Tamlo's transfers on cables of every kind: the "Fast transfer" box on the
// File page, the cable refused at open, the estimate on the status line.
#include <QCheckBox>
#include <QRegularExpression>

#include "sim/port_model.h"
#include "ui/screenshot.h"
#include "ui/tamlo_window.h"

namespace korvex::test {
namespace {

class TamloTransfers : public TamloWindow {
protected:
    // The box ticked before the demo port opens, so the port takes the fast timing.
    void OpenDemoFast() {
        ChoosePage(PageId::File);
        Find<QCheckBox>("fastTransfer")->setChecked(true);
        OpenDemo();
    }
};

TEST_F(TamloTransfers, TheFastTransferBoxSwitchesTheTimingAndStartsOff) {
    ChoosePage(PageId::File);
    auto* fast = Find<QCheckBox>("fastTransfer");
    ASSERT_NE(fast, nullptr);
    EXPECT_TRUE(fast->isVisible());
    EXPECT_EQ(fast->text(), QStringLiteral("Fast transfer"));
    EXPECT_FALSE(fast->isChecked());
    EXPECT_EQ(model->link.Timing(), BusTiming::Spec);

    QTest::mouseClick(fast, Qt::LeftButton, {}, QPoint(4, fast->height() / 2));
    EXPECT_EQ(model->link.Timing(), BusTiming::Fast);
    // A port opened now takes the chosen timing.
    OpenDemo();
    EXPECT_EQ(model->link.Bus().Timing(), BusTiming::Fast);
    QTest::mouseClick(fast, Qt::LeftButton, {}, QPoint(4, fast->height() / 2));
    EXPECT_EQ(model->link.Bus().Timing(), BusTiming::Spec);
}

TEST_F(TamloTransfers, FastWritesOnlyTheRunsChangedSinceTheRead) {
    OpenDemoFast();
    Click("readData");
    ASSERT_TRUE(dialogs->TakeTexts().isEmpty());
    model->settings.pgmPassword = "4321";
    const std::uint64_t before = sim.module.WriteCycles();
    Click("writeData");
    EXPECT_TRUE(dialogs->TakeTexts().isEmpty());
    // The password's run alone: the read saw every byte.
    EXPECT_EQ(sim.module.WriteCycles() - before, 1u);
    ConfigSettings inModule;
    UnpackImage(CompactProfile(), ModuleImage(), inModule);
    EXPECT_EQ(inModule.pgmPassword, "4321");

    // A verified write read back every byte it sent, the last two too: the
    // same write again has nothing to write.
    const std::uint64_t again = sim.module.WriteCycles();
    Click("writeData");
    EXPECT_EQ(sim.module.WriteCycles() - again, 0u);
    EXPECT_TRUE(dialogs->TakeTexts().isEmpty());
}

TEST_F(TamloTransfers, FastSoundWritesSkipTheSlotsHeldSinceTheReadInThisSession) {
    OpenDemoFast();
    Click("readSound");
    ASSERT_TRUE(dialogs->TakeTexts().isEmpty());
    ASSERT_GT(model->voice.Used(), 0u);
    std::uint64_t before = sim.module.WriteCycles();
    Click("writeSound");
    EXPECT_TRUE(dialogs->TakeTexts().isEmpty());
    EXPECT_EQ(sim.module.WriteCycles() - before, 1u);  // the directory alone

    // Reopened, the port may lead to another module: every slot is written.
    Click("openPort");
    Click("openPort");
    before = sim.module.WriteCycles();
    Click("writeSound");
    EXPECT_TRUE(dialogs->TakeTexts().isEmpty());
    EXPECT_EQ(sim.module.WriteCycles() - before, 1u + model->voice.Used() / 64);
}

TEST_F(TamloTransfers, ACableWhoseCtsIsStuckIsRefusedWithTheCableMessage) {
    sim.module.SetPortModel(*FindPortModel("cdc-acm"));
    ChoosePage(PageId::File);
    auto* ports = Find<QComboBox>("portList");
    ports->setCurrentIndex(ports->findData(QStringLiteral("demo")));
    Click("openPort");
    EXPECT_FALSE(model->link.IsOpen());
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].detail,
              QStringLiteral("This cable cannot read the module back: CTS does not follow RTS"));
}

TEST_F(TamloTransfers, TheStatusLineGivesTheEstimateAndSuggestsFastOnACachedStatus) {
    sim.module.SetPortModel(*FindPortModel("pl2303"));
    OpenDemo();
    auto* status = Find<QLabel>("status");
    EXPECT_TRUE(status->isVisible());
    EXPECT_TRUE(status->text().contains(QStringLiteral("Tick \"Fast transfer\""))) << status->text().toStdString();

    Find<QCheckBox>("fastTransfer")->setChecked(true);
    EXPECT_FALSE(status->isVisible());
    const QStringList seen = StatusesDuring([&] { Click("readData"); });
    EXPECT_FALSE(seen.filter(QRegularExpression(QStringLiteral("^Reading configuration\\.\\.\\. \\(about \\d+ s\\)$"))).isEmpty())
        << seen.join(" | ").toStdString();
    EXPECT_TRUE(status->text().startsWith(QStringLiteral("Configuration read ("))) << status->text().toStdString();
    EXPECT_TRUE(dialogs->TakeTexts().isEmpty());
}

// The File page with the box and the advice a cached-status cable gets:
// both inside the dialog, the advice whole. Kept as docs/tamlo-file.png.
TEST_F(TamloTransfers, FilePageScreenshot) {
    sim.module.SetPortModel(*FindPortModel("ch340"));
    OpenDemo();
    QCoreApplication::processEvents();  // layouts settle as on screen
    for (const char* name : {"fastTransfer", "status", "writeSound"}) {
        QWidget* widget = Find<QWidget>(name);
        const QRect area(widget->mapTo(dialog.get(), QPoint(0, 0)), widget->size());
        EXPECT_TRUE(widget->isVisible()) << name;
        EXPECT_TRUE(dialog->rect().contains(area)) << name;
    }
    auto* status = Find<QLabel>("status");
    EXPECT_GE(status->height(), status->heightForWidth(status->width())) << "the advice is cut";
    EXPECT_TRUE(KeepScreenshot(*dialog, "tamlo-file.png"));
}

}  // namespace
}  // namespace korvex::test
