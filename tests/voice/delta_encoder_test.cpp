#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "voice/delta_codec.h"
#include "voice/delta_encoder.h"
#include "voice/segmental_snr.h"

namespace korvex {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::int64_t SquaredError(const Bytes& x, const Bytes& encoded, int step) {
    Bytes y(encoded.size() * 8);
    DecodeDelta(encoded, step, y);
    std::int64_t sum = 0;
    for (std::size_t i = 0; i < y.size(); ++i) sum += (x[i] - y[i]) * (x[i] - y[i]);
    return sum;
}

// Every stream of two bytes, decoded: the least squared error there is.
std::int64_t BestPossible(const Bytes& x, int step) {
    std::int64_t best = std::numeric_limits<std::int64_t>::max();
    for (int stream = 0; stream < 65536; ++stream) {
        const Bytes encoded = {static_cast<std::uint8_t>(stream >> 8), static_cast<std::uint8_t>(stream)};
        best = std::min(best, SquaredError(x, encoded, step));
    }
    return best;
}

Bytes Ramp(int from, int by) {
    Bytes x(16);
    for (int i = 0; i < 16; ++i) x[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(std::clamp(from + by * i, 0, 255));
    return x;
}

struct SearchCase {
    const char* name;
    int step;
    Bytes samples;
};

// Under 256 samples every error weighs the same, so the trellis must find
// the stream with the least squared error the decoder can give, clamping
// at 0 and 255 included.
TEST(TrellisEncoder, FindsTheLeastSquaredErrorOfAnyStream) {
    const SearchCase cases[] = {
        {"steep rise the step cannot follow", 5, Ramp(128, 20)},
        {"slow fall", 7, Ramp(140, -3)},
        // Sixteen samples reach the ends only with a large step.
        {"held at the floor, clamping at 0", 30, Ramp(20, -10)},
        {"held at the top, clamping at 255", 40, Ramp(200, 15)},
        {"top then bottom", 50, {255, 255, 255, 255, 255, 255, 0, 0, 0, 0, 0, 0, 0, 250, 250, 250}},
        {"silence", 5, Bytes(16, 128)},
        {"square wave", 5, {200, 200, 200, 200, 60, 60, 60, 60, 200, 200, 200, 200, 60, 60, 60, 60}},
    };
    for (const SearchCase& c : cases) {
        Bytes encoded(2);
        ASSERT_EQ(EncodeDeltaTrellis(c.samples, c.step, encoded), 2u) << c.name;
        EXPECT_EQ(SquaredError(c.samples, encoded, c.step), BestPossible(c.samples, c.step)) << c.name;
    }
}

TEST(TrellisEncoder, KeepsThePlainEncodersLengthRules) {
    const Bytes samples(8 * 5 + 3, 128);  // a last partial group
    Bytes roomy(10, 0xAA);
    EXPECT_EQ(EncodeDeltaTrellis(samples, 5, roomy), 5u);
    EXPECT_EQ(roomy[5], 0xAA) << "nothing beyond the bytes stored";
    Bytes tight(3);
    EXPECT_EQ(EncodeDeltaTrellis(samples, 5, tight), 3u);
    EXPECT_EQ(EncodeDeltaTrellis(Bytes(7, 128), 5, roomy), 0u);
}

TEST(TrellisEncoder, BeatsThePlainEncoderOnNoisyTones) {
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0.0, 6.0);
    for (int step : {5, 7}) {
        Bytes x(8 * 4096);
        for (std::size_t i = 0; i < x.size(); ++i) {
            const double tone = 90.0 * std::sin(static_cast<double>(i) * 0.05) * std::sin(static_cast<double>(i) * 0.0007);
            x[i] = static_cast<std::uint8_t>(std::clamp(128.0 + tone + noise(random), 0.0, 255.0));
        }
        Bytes plain(x.size() / 8);
        Bytes trellis(x.size() / 8);
        EncodeDelta(x, step, plain);
        EncodeDeltaTrellis(x, step, trellis);
        Bytes yPlain(x.size());
        Bytes yTrellis(x.size());
        DecodeDelta(plain, step, yPlain);
        DecodeDelta(trellis, step, yTrellis);
        EXPECT_LT(SquaredError(x, trellis, step), SquaredError(x, plain, step)) << "step " << step;
        EXPECT_GT(SegmentalSnr(x, yTrellis), SegmentalSnr(x, yPlain) + 0.5) << "step " << step;
        EXPECT_GE(SegmentalSnrCeiling(x, step), SegmentalSnr(x, yTrellis)) << "step " << step;
    }
}

// Frames whose best stream is known by hand.
TEST(SegmentalSnrCeiling, IsTheLeastErrorEachFrameAllows) {
    Bytes zigzag(kSnrFrame);  // exactly what the decoder makes, from level 100
    for (std::size_t i = 0; i < zigzag.size(); ++i) zigzag[i] = i % 2 ? 100 : 104;
    // Held at 130 with step 4: the level can only swing between 128 and 132,
    // an error of 2 on every sample, as large as the signal: 0 dB.
    const Bytes held(kSnrFrame, 130);
    // At the floor a clamped decoder holds 0 exactly.
    Bytes floor(kSnrFrame, 0);
    floor[0] = 4;
    EXPECT_EQ(SegmentalSnrCeiling(zigzag, 4), 40.0);
    EXPECT_NEAR(SegmentalSnrCeiling(held, 4), 0.0, 1e-9);
    EXPECT_EQ(SegmentalSnrCeiling(floor, 4), 40.0);
    EXPECT_EQ(SegmentalSnrCeiling(Bytes(kSnrFrame - 1, 200), 4), 0.0) << "no whole frame";
}

TEST(DeltaEncoderChoice, ParsesTheNamesTheCommandLineTakes) {
    EXPECT_EQ(ParseDeltaEncoder("plain"), DeltaEncoder::Plain);
    EXPECT_EQ(ParseDeltaEncoder("trellis"), DeltaEncoder::Trellis);
    EXPECT_EQ(ParseDeltaEncoder("Plain"), std::nullopt);
    EXPECT_EQ(DeltaEncoderName(DeltaEncoder::Trellis), "trellis");
    const Bytes x(64, 200);
    Bytes viaChoice(8);
    Bytes direct(8);
    EncodeDeltaWith(DeltaEncoder::Plain, x, 5, viaChoice);
    EncodeDelta(x, 5, direct);
    EXPECT_EQ(viaChoice, direct);
}

TEST(SegmentalSnr, AveragesFramesAndLeavesSilenceOut) {
    // Frame 1: amplitude 64, error 2 everywhere: 10 log10(64^2 / 2^2) = 30.1 dB.
    // Frame 2: amplitude 64, error 8: 18.1 dB. Frame 3: silence, left out
    // although its error is large. A last partial frame is left out too.
    Bytes x;
    Bytes y;
    for (std::size_t i = 0; i < kSnrFrame; ++i) {
        const std::uint8_t v = i % 2 ? 192 : 64;
        x.push_back(v);
        y.push_back(static_cast<std::uint8_t>(v + 2));
    }
    for (std::size_t i = 0; i < kSnrFrame; ++i) {
        const std::uint8_t v = i % 2 ? 192 : 64;
        x.push_back(v);
        y.push_back(static_cast<std::uint8_t>(v - 8));
    }
    x.insert(x.end(), kSnrFrame + 100, 128);
    y.insert(y.end(), kSnrFrame + 100, 20);
    const double expected = (10 * std::log10(64.0 * 64 / 4) + 10 * std::log10(64.0 * 64 / 64)) / 2;
    EXPECT_NEAR(SegmentalSnr(x, y), expected, 1e-9);
    EXPECT_EQ(SegmentalSnr(x, x), 40.0) << "a frame without error counts as 40 dB";
    EXPECT_EQ(SegmentalSnr(Bytes(1000, 128), Bytes(1000, 0)), 0.0) << "no frame to count";
}

}  // namespace
}  // namespace korvex
