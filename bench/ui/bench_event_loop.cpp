// How long the window's event loop waits while a voice write runs on the
// demo module at an FTDI cable's real pace: a call is posted every 10 ms and
// the delay until it runs is taken, for the first `range(0)` seconds of the
// write (a full write and verify takes minutes). Counters: median_ms, worst_ms.
#include <QApplication>
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

void BM_EventLoopDuringVoiceWrite(benchmark::State& state) {
    for (auto _ : state) {
        QTemporaryDir dir;
        const std::string memory = dir.filePath("module.bin").toStdString();
        AppModel model(FullProfile(), [memory](const std::string&, const Profile& profile) {
            return OpenModulePort("sim:" + memory, profile);
        });
        model.link.SetDemoPace(FindPortModel("ftdi"));
        CMainFrame frame(model);
        frame.show();
        if (!model.link.Open("demo").Ok()) {
            state.SkipWithError("the simulated module did not open");
            return;
        }
        // A full voice memory, as a technician writes it.
        for (int slot = 0; slot < model.voice.SlotCount(); ++slot)
            model.voice.slotLength[slot] = static_cast<int>(model.profile.capacity / model.voice.SlotCount());
        model.soundLoaded = true;
        frame.View()->GetFilePage()->findChild<QPushButton*>("writeSound")->click();

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
