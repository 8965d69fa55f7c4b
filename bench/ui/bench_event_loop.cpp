// How long the window's event loop waits while a voice write runs on the
// demo module at an FTDI cable's real pace: a call is posted every 10 ms and
// the delay until it runs is taken, for the first `range(0)` seconds of the
// write (a full write and verify takes minutes). Counters: median_ms, worst_ms.
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

        std::vector<double> delays;
        QElapsedTimer run, posted;
        run.start();
        while (model.transfers.Running() && run.elapsed() < state.range(0) * 1000) {
            bool ran = false;
            posted.start();
            QTimer::singleShot(0, &frame, [&] { ran = true; });
            while (!ran) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            delays.push_back(static_cast<double>(posted.nsecsElapsed()) / 1e6);
            QElapsedTimer pause;
            pause.start();
            while (pause.elapsed() < 10) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
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
