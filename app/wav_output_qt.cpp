#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>

#include "app/wav_output.h"

namespace korvex {
namespace {

class SinkOutput : public WavOutput {
public:
    SinkOutput(const QByteArray& samples, const QAudioDevice& device, const QAudioFormat& format, QObject* owner,
               std::function<void()> finished)
        : sink_(device, format) {
        buffer_.setData(samples);
        buffer_.open(QIODevice::ReadOnly);
        // Idle: every sample has gone to the output; Stopped: the output failed.
        QObject::connect(&sink_, &QAudioSink::stateChanged, owner, [finished](QAudio::State state) {
            if (state == QAudio::IdleState || state == QAudio::StoppedState) finished();
        });
        sink_.start(&buffer_);
    }
    ~SinkOutput() override { sink_.stop(); }
    bool Playing() const override { return sink_.state() != QAudio::StoppedState; }

private:
    QBuffer buffer_;  // before the sink: it outlives it
    QAudioSink sink_;
};

}  // namespace

std::unique_ptr<WavOutput> StartWavOutput(const QByteArray& samples, std::uint32_t rate, QObject* owner,
                                          std::function<void()> finished) {
    QAudioFormat format;
    format.setSampleRate(static_cast<int>(rate));
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::UInt8);
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull() || !device.isFormatSupported(format)) return nullptr;
    return std::make_unique<SinkOutput>(samples, device, format, owner, std::move(finished));
}

}  // namespace korvex
