#pragma once
#include <QFrame>
#include <cstdint>
#include <span>

namespace korvex {

// Draws a sound as green vertical lines on black: the bytes of a WAV image
// from offset 44 (8-bit unsigned samples, 128 silence) spread over a
// length, one sample per pixel column. The view does not own the bytes;
// whoever changes them calls update().
class WaveformView : public QFrame {
    Q_OBJECT
public:
    static constexpr std::size_t kHeaderSize = 44;

    explicit WaveformView(QWidget* parent = nullptr);

    // The WAV image; an empty span draws nothing but the background.
    void SetBuffer(std::span<const std::uint8_t> wav);
    // The count of bytes spread over the width (file size or sample count).
    void SetSoundLength(std::uint32_t length);
    std::uint32_t SoundLength() const { return soundLength_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::span<const std::uint8_t> wav_;
    std::uint32_t soundLength_ = 0;
};

}  // namespace korvex
