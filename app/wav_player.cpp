#include "app/wav_player.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "voice/wav_buffer.h"
#include "app/wait_without_input.h"
#include "app/wav_output.h"

namespace korvex {

namespace {

std::uint32_t Le32(std::span<const std::uint8_t> b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t(b[at + 3]) << 24);
}
std::uint16_t Le16(std::span<const std::uint8_t> b, std::size_t at) { return b[at] | (b[at + 1] << 8); }
bool Tag(std::span<const std::uint8_t> b, std::size_t at, const char* tag) {
    return std::memcmp(b.data() + at, tag, 4) == 0;
}

}  // namespace

std::optional<WavImageInfo> InspectWavImage(std::span<const std::uint8_t> image, std::uint32_t soundLength) {
    if (soundLength == 0 || image.size() < kWavHeaderSize) return std::nullopt;
    if (!Tag(image, 0, "RIFF") || !Tag(image, 8, "WAVE")) return std::nullopt;
    // Walk the chunks as a player does: "fmt " first, then up to "data".
    std::uint32_t rate = 0;
    bool formatOk = false;
    std::size_t at = 12;
    while (at + 8 <= image.size()) {
        const std::uint32_t size = Le32(image, at + 4);
        const std::size_t body = at + 8;
        if (Tag(image, at, "fmt ")) {
            if (size < 16 || body + 16 > image.size()) return std::nullopt;
            formatOk = Le16(image, body) == 1 && Le16(image, body + 2) == 1 && Le16(image, body + 14) == 8;
            rate = Le32(image, body + 4);
        } else if (Tag(image, at, "data")) {
            if (!formatOk || rate == 0) return std::nullopt;
            const std::size_t count = std::min<std::size_t>(size, image.size() - body);
            if (count == 0) return std::nullopt;
            return WavImageInfo{rate, image.subspan(body, count)};
        }
        at = body + size + (size & 1);
    }
    return std::nullopt;
}

WavPlayer::WavPlayer(QObject* parent) : QObject(parent) {}

WavPlayer::~WavPlayer() { Stop(); }

void WavPlayer::Stop() { output_.reset(); }

bool WavPlayer::Play(std::span<const std::uint8_t> image, std::uint32_t soundLength) {
    Stop();
    samples_.clear();
    noOutput_ = false;
    const auto info = InspectWavImage(image, soundLength);
    if (!info) return false;
    // The sound is copied: the page may load or decode another while it plays.
    samples_ = QByteArray(reinterpret_cast<const char*>(info->samples.data()),
                          static_cast<qsizetype>(info->samples.size()));
    rate_ = info->rate;
    output_ = startOutput_(samples_, rate_, this, [this] { emit Finished(); });
    noOutput_ = output_ == nullptr;
    return output_ != nullptr;
}

bool WavPlayer::PlayToEnd(std::span<const std::uint8_t> image, std::uint32_t soundLength) {
    if (!Play(image, soundLength)) return false;
    // An output that stalls must not hold the program for ever.
    const qint64 soundMs = qint64(samples_.size()) * 1000 / rate_;
    if (output_->Playing()) WaitWithoutInput(this, &WavPlayer::Finished, std::chrono::milliseconds(soundMs + 2000));
    Stop();
    return true;
}

}  // namespace korvex
