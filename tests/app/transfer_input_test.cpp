// While a transfer runs the window takes no input: a click that arrives
// meanwhile does nothing, neither then nor after the transfer; the module
// buttons look disabled. Writing what was never read or loaded asks first.
#include <QMouseEvent>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "ui/korvex_window.h"
#include "ui/tamlo_window.h"

namespace korvex::test {
namespace {

// Posts a click (press and release) to `target` as the window system would.
void PostClick(QWidget* target) {
    const QPointF at = QRectF(target->rect()).center();
    const QPointF global = target->mapToGlobal(at);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QCoreApplication::postEvent(target, new QMouseEvent(type, at, global, Qt::LeftButton,
                                                            type == QEvent::MouseButtonPress ? Qt::LeftButton
                                                                                             : Qt::NoButton,
                                                            Qt::NoModifier));
    }
}

// Runs `during` once, inside the transfer that shows `bar`.
class DuringTransfer {
public:
    DuringTransfer(QWidget* bar, std::function<void()> during) {
        timer_.setInterval(0);
        QObject::connect(&timer_, &QTimer::timeout, [this, bar, during = std::move(during)] {
            if (done || !bar->isVisible()) return;
            done = true;
            during();
        });
        timer_.start();
    }
    bool done = false;

private:
    QTimer timer_;
};

using KorvexInput = KorvexWindow;

TEST_F(KorvexInput, ClicksDuringATransferAreDroppedNotReplayed) {
    OpenDemo();
    Click("readData");
    Click("readSound");
    QWidget* logButton = frame->ToolBar()->widgetForAction(frame->PageAction(int(PageId::Log)));
    ASSERT_NE(logButton, nullptr);
    int saves = 0;
    bool greyed = false;
    DuringTransfer during(Find<QWidget>("transferBar"), [&] {
        saves = sim.saves;
        greyed = !Button("writeSound")->isEnabled() && !Button("readData")->isEnabled();
        // A second click on the same button and a click on a page button.
        PostClick(Button("writeSound"));
        PostClick(logButton);
    });
    Click("writeSound");
    QCoreApplication::processEvents();  // whatever clicks are still queued arrive now
    ASSERT_TRUE(during.done);
    EXPECT_TRUE(greyed);
    EXPECT_EQ(View().CurrentPage(), int(PageId::File));
    // One write, saved back once.
    EXPECT_EQ(sim.saves, saves + 1);
    EXPECT_TRUE(Button("writeSound")->isEnabled());
    EXPECT_TRUE(dialogs->confirms.isEmpty());
}

TEST_F(KorvexInput, AMessageBoxDuringATransferStillTakesInput) {
    // The guard drops only what is meant for the program's window.
    OpenDemo();
    QWidget other;
    other.show();
    bool reached = false;
    auto* probe = new QPushButton(&other);
    QObject::connect(probe, &QPushButton::clicked, [&] { reached = true; });
    probe->show();
    DuringTransfer during(Find<QWidget>("transferBar"), [&] { QTest::mouseClick(probe, Qt::LeftButton); });
    Click("readData");
    EXPECT_TRUE(during.done);
    EXPECT_TRUE(reached);
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
