// How long the window's event loop is held up while a voice write runs on
// the demo module at an FTDI cable's real pace: a timer ticks every 10 ms
// and each tick's lateness is taken, for the first `range(0)` seconds of the
// write (a whole write and verify takes minutes). Counters: median_ms,
// worst_ms, samples.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <vector>

#include "korvex/korvex_frame.h"
#include "korvex/korvex_view.h"
#include "app/app_model.h"
#include "pages/file_page.h"
#include "sim/port_model.h"

namespace korvex {
namespace {

// Nobody answers a box here: the stopped write's message is taken as read.
class QuietDialogs final : public Dialogs {
public:
    void Message(QWidget*, QMessageBox::Icon, const QString&, const QString&) override {}
    bool Confirm(QWidget*, const QString&) override { return true; }
    QString Remembered(const QString&) override { return {}; }
    void Remember(const QString&, const QString&) override {}
};

void BM_EventLoopDuringVoiceWrite(benchmark::State& state) {
    for (auto _ : state) {
        // The demo module, its memory file made afresh in a scratch folder.
        QTemporaryDir dir;
        qputenv("XDG_DATA_HOME", dir.path().toLocal8Bit());
        AppModel model(FullProfile());
        model.dialogs = std::make_unique<QuietDialogs>();
        CMainFrame frame(model);
        frame.show();
        // After the window, which takes the remembered pace.
        model.link.SetDemoPace(FindPortModel("ftdi"));
        FilePage* page = frame.View()->GetFilePage();
        auto* ports = page->findChild<QComboBox*>("portList");
        ports->setCurrentIndex(ports->findData(QStringLiteral("demo")));
        page->findChild<QPushButton*>("openPort")->click();
        if (!model.link.IsOpen()) {
            state.SkipWithError("the simulated module did not open");
            return;
        }
        // A voice memory nine tenths full, as a technician writes it.
        for (int slot = 0; slot < model.voice.SlotCount(); ++slot)
            model.voice.slotLength[slot] = static_cast<int>(model.profile.capacity * 9 / 10 / model.voice.SlotCount());
        model.soundLoaded = true;
        page->findChild<QPushButton*>("writeSound")->click();
        if (!model.transfers.Running()) {
            state.SkipWithError("the write did not start");
            return;
        }

        // A tick every 10 ms: how much later than that each one comes is the
        // time the loop was held up.
        std::vector<double> delays;
        QElapsedTimer run, since;
        QTimer tick;
        tick.setTimerType(Qt::PreciseTimer);
        tick.setInterval(10);
        QObject::connect(&tick, &QTimer::timeout, [&] {
            if (since.isValid()) delays.push_back(std::max(0.0, static_cast<double>(since.nsecsElapsed()) / 1e6 - 10));
            since.start();
        });
        run.start();
        tick.start();
        while (model.transfers.Running() && run.elapsed() < state.range(0) * 1000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        tick.stop();
        model.transfers.RequestStop();
        while (model.transfers.Running()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        // What the status line said of the write, so a run that ended early shows why.
        if (auto* status = page->findChild<QLabel*>("status")) state.SetLabel(status->text().toStdString());
        std::sort(delays.begin(), delays.end());
        state.counters["samples"] = static_cast<double>(delays.size());
        state.counters["median_ms"] = delays.empty() ? 0 : delays[delays.size() / 2];
        state.counters["worst_ms"] = delays.empty() ? 0 : delays.back();
    }
}
BENCHMARK(BM_EventLoopDuringVoiceWrite)->Arg(60)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
}  // namespace korvex

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
