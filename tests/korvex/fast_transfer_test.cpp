// Korvex's transfers on cables of every kind: the cable refused at open,
// the fast timing from the View menu writing only what changed, the
// estimate on the status line and the advice for a cached status.
#include <QAction>
#include <QRegularExpression>
#include <QTimer>

#include "sim/port_model.h"
#include "ui/korvex_window.h"

namespace korvex::test {
namespace {

class KorvexTransfers : public KorvexWindow {
protected:
    void UseCable(const char* model) { sim.module.SetPortModel(*FindPortModel(model)); }
    void ChooseFast(bool on) {
        auto* fast = frame->findChild<QAction*>("fastTransfer");
        ASSERT_NE(fast, nullptr);
        ASSERT_TRUE(fast->isCheckable());
        fast->setChecked(on);
    }
    std::uint64_t PageWritesOf(const char* button) {
        const std::uint64_t before = sim.module.WriteCycles();
        Click(button);
        return sim.module.WriteCycles() - before;
    }
};

// The number of seconds in "(около 18 с)" or "(17,2 с)"; -1 when none.
double SecondsIn(const QString& text) {
    const QRegularExpression number(QStringLiteral("\\((?:около )?(\\d+(?:,\\d)?) с\\)$"));
    const QRegularExpressionMatch m = number.match(text);
    return m.hasMatch() ? m.captured(1).replace(',', '.').toDouble() : -1;
}

TEST_F(KorvexTransfers, ACableWhoseCtsIsStuckIsRefusedWithTheCableMessage) {
    UseCable("cdc-acm");
    frame->PageAction(int(PageId::File))->trigger();
    auto* ports = Find<QComboBox>("portList");
    ports->setCurrentIndex(ports->findData(QStringLiteral("demo")));
    Click("openPort");
    EXPECT_FALSE(model->link.IsOpen());
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].text, QStringLiteral("COM порт не открыт!"));
    EXPECT_EQ(dialogs->messages[0].detail, QStringLiteral("Этот кабель не может читать модуль: CTS не следует за RTS"));
    EXPECT_EQ(Button("openPort")->text(), QStringLiteral("Открыть порт"));
    EXPECT_EQ(sim.module.WriteCycles(), 0u);
}

TEST_F(KorvexTransfers, FastWritesOnlyTheRunsChangedSinceTheRead) {
    ChooseFast(true);
    OpenDemo();
    EXPECT_EQ(model->link.Timing(), BusTiming::Fast);
    Click("readData");
    model->settings.objectName = "Sklad 9";  // one field, in the first run
    // That run and the date's: the module was last written on another day.
    EXPECT_EQ(PageWritesOf("writeData"), 2u);
    EXPECT_TRUE(dialogs->TakeTexts().isEmpty());
    ConfigSettings inModule;
    UnpackImage(FullProfile(), sim.Image(FullProfile()), inModule);
    EXPECT_EQ(inModule.objectName, "Sklad 9");
    EXPECT_EQ(Find<QLabel>("status")->text().left(27), QStringLiteral("Данные записаны и проверены"));
    // The verified write is what the module holds now: the same again writes
    // nothing, and the status line says so rather than giving a time.
    EXPECT_EQ(PageWritesOf("writeData"), 0u);
    EXPECT_EQ(Find<QLabel>("status")->text(), QStringLiteral("Изменений нет, записывать нечего"));

    // Another port may lead to another module: nothing is known of it, and
    // the status line, which told of the last one, is cleared.
    Click("openPort");
    EXPECT_FALSE(Find<QLabel>("status")->isVisible());
    EXPECT_TRUE(Find<QLabel>("status")->text().isEmpty());
    Click("openPort");
    ASSERT_TRUE(model->link.IsOpen());
    EXPECT_EQ(PageWritesOf("writeData"), 18u);

    // The standard timing writes everything, whatever is known.
    ChooseFast(false);
    EXPECT_EQ(PageWritesOf("writeData"), 18u);
    EXPECT_TRUE(dialogs->TakeTexts().isEmpty());
}

TEST_F(KorvexTransfers, AFailedWriteLeavesNothingBelievedHeld) {
    ChooseFast(true);
    OpenDemo();
    Click("readData");
    model->settings.objectName = "Sklad 9";
    sim.module.GetFaults().writeProtect = true;
    Click("writeData");
    EXPECT_EQ(dialogs->TakeTexts(), QStringList{QStringLiteral("Ошибка записи!")});
    EXPECT_TRUE(model->link.HeldImage().empty());

    // The module may hold anything now, so the next write leaves no run out.
    sim.module.GetFaults().writeProtect = false;
    EXPECT_EQ(PageWritesOf("writeData"), 18u);
    EXPECT_TRUE(dialogs->TakeTexts().isEmpty());
}

TEST_F(KorvexTransfers, TheStatusLineGivesTheEstimateThenTheTimeTaken) {
    UseCable("ftdi");
    OpenDemo();
    const QStringList seen = StatusesDuring([&] { Click("readData"); });
    ASSERT_FALSE(seen.isEmpty());
    const QString during = seen.filter(QStringLiteral("Чтение конфигурации")).value(0);
    EXPECT_TRUE(during.startsWith(QStringLiteral("Чтение конфигурации... (около "))) << seen.join(" | ").toStdString();
    const QString after = Find<QLabel>("status")->text();
    EXPECT_TRUE(after.startsWith(QStringLiteral("Данные считаны ("))) << after.toStdString();
    // The port's time on this cable, which the estimate foretold.
    const double estimate = SecondsIn(during), taken = SecondsIn(after);
    EXPECT_GT(taken, 10) << after.toStdString();
    EXPECT_NEAR(estimate, taken, taken * 0.1 + 1) << during.toStdString() << " / " << after.toStdString();
}

TEST_F(KorvexTransfers, ACachedStatusCableSuggestsTheFastTiming) {
    UseCable("ch340");
    OpenDemo();
    auto* status = Find<QLabel>("status");
    EXPECT_TRUE(status->isVisible());
    EXPECT_TRUE(status->text().contains(QStringLiteral("«Быстрый обмен»"))) << status->text().toStdString();
    ChooseFast(true);
    EXPECT_FALSE(status->isVisible());
    ChooseFast(false);
    EXPECT_TRUE(status->isVisible());

    // A live status needs no advice.
    Click("openPort");
    UseCable("ftdi");
    Click("openPort");
    EXPECT_FALSE(status->isVisible() && status->text().contains(QStringLiteral("Быстрый обмен")));
}

}  // namespace
}  // namespace korvex::test
