// Each page of the main window rendered offscreen, after a read from the
// simulated module and with a sound loaded, as a technician sees it. With
// KORVEX_SCREENSHOT_DIR set (scripts/screenshots.sh) the pictures are kept
// there as <page>-page.png.
#include <QTemporaryDir>
#include <cmath>
#include <fstream>

#include "link/voice_wav_maker.h"
#include "shell/waveform_view.h"
#include "ui/korvex_window.h"
#include "ui/screenshot.h"

namespace korvex::test {
namespace {

const char* const kPageFiles[] = {"file", "properties", "messages", "phones", "zones", "log", "names", "communicator"};

// A second of something like speech: bursts of a falling tone.
std::vector<std::uint8_t> Speech(int rate) {
    std::vector<std::uint8_t> samples(static_cast<std::size_t>(rate));
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double t = double(i) / rate;
        const double envelope = std::pow(std::sin(t * 3.14159 * 3), 2) * std::exp(-t * 1.2);
        const double tone = std::sin(2 * 3.14159 * (420 - 120 * t) * t) + 0.4 * std::sin(2 * 3.14159 * 1130 * t);
        samples[i] = static_cast<std::uint8_t>(std::lround(128 + 85 * envelope * tone));
    }
    return samples;
}

using Screenshots = KorvexWindow;

TEST_F(Screenshots, EveryPageRendersInsideTheWindow) {
    QTemporaryDir dir;
    const std::vector<std::uint8_t> wav = korvex::testing::MakeWav(Speech(11025), {.rate = 11025});
    const QString wavPath = dir.filePath("voice.wav");
    std::ofstream(wavPath.toStdString(), std::ios::binary)
        .write(reinterpret_cast<const char*>(wav.data()), static_cast<std::streamsize>(wav.size()));

    OpenDemo();
    Click("readData");
    dialogs->answers.push_back(wavPath);
    Click("soundOpen");
    ASSERT_TRUE(dialogs->messages.empty());

    const QString out = qEnvironmentVariable("KORVEX_SCREENSHOT_DIR");
    for (int id = 1; id <= 8; ++id) {
        frame->PageAction(id)->trigger();
        const QImage image = RenderWidget(*frame);
        EXPECT_EQ(image.size(), frame->size());
        // The page is drawn: more than one colour inside the work area.
        const QRect area(View().mapTo(frame.get(), QPoint(0, 0)), View().size());
        const QImage work = image.copy(area);
        bool varied = false;
        for (int y = 0; y < work.height() && !varied; y += 3)
            for (int x = 0; x < work.width() && !varied; x += 3) varied = work.pixel(x, y) != work.pixel(0, 0);
        EXPECT_TRUE(varied) << kPageFiles[id - 1];
        if (!out.isEmpty()) {
            EXPECT_TRUE(SaveScreenshot(*frame, QDir(out).filePath(QStringLiteral("%1-page.png").arg(kPageFiles[id - 1]))));
        }
    }
    // The File page shows the loaded sound in green.
    frame->PageAction(int(PageId::File))->trigger();
    EXPECT_GT(CountPixels(RenderWidget(*Find<WaveformView>("waveform")), qRgb(0, 255, 0)), 500);
}

}  // namespace
}  // namespace korvex::test
