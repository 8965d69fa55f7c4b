#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <vector>

#include "voice/delta_codec.h"

namespace korvex {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Repeat(std::size_t n, std::uint8_t v) { return Bytes(n, v); }

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

Bytes DecodeSamples(const Bytes& encoded, int step) {
    Bytes out(encoded.size() * 8);
    EXPECT_EQ(DecodeDelta(encoded, step, out), out.size());
    return out;
}

struct EncodeCase {
    const char* name;
    int step;
    Bytes samples;
    Bytes encoded;
};

TEST(DeltaCodec, EncodesKnownVectors) {
    const EncodeCase cases[] = {
        {"up then down", 5, Concat({Repeat(4, 200), Repeat(4, 0)}), {0xF0}},
        {"equal level counts as not below", 5, Repeat(8, 128), {0x55}},
        {"silence at zero", 7, Repeat(16, 0), {0x00, 0x00}},
        // Level 128 + 5k stays below 255 for 26 ones, then overshoots to 258
        // and swings 253/258: the encoder is not clamped.
        {"full scale", 5, Repeat(40, 255), {0xFF, 0xFF, 0xFF, 0xD5, 0x55}},
        {"last partial group dropped", 5, Concat({Repeat(8, 255), Repeat(7, 255)}), {0xFF}},
        {"fewer than eight samples", 7, Repeat(7, 255), {}},
    };
    for (const auto& c : cases) {
        Bytes out(c.encoded.size() + 4, 0xAA);
        const std::size_t n = EncodeDelta(c.samples, c.step, out);
        ASSERT_EQ(n, c.encoded.size()) << c.name;
        EXPECT_EQ(Bytes(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(n)), c.encoded) << c.name;
        EXPECT_EQ(out[n], 0xAA) << c.name << ": wrote past the count";
    }
}

TEST(DeltaCodec, EncoderStopsAtTheEndOfItsOutput) {
    Bytes out(2, 0);
    EXPECT_EQ(EncodeDelta(Repeat(64, 255), 5, out), 2u);
}

TEST(DeltaCodec, DecoderClampsAndCarriesTheClampedLevel) {
    // The encoder's full-scale stream: 26 ones reach 258, clamped to 255; the
    // next 0 gives 250 (the encoder tracked 253), then 255, 250, ...
    const Bytes up = DecodeSamples(Bytes{0xFF, 0xFF, 0xFF, 0xD5}, 5);
    ASSERT_EQ(up.size(), 32u);
    for (int k = 0; k < 25; ++k) EXPECT_EQ(up[k], 128 + 5 * (k + 1)) << k;
    EXPECT_EQ(up[25], 255);
    for (int k = 26; k < 32; ++k) EXPECT_EQ(up[k], k % 2 == 0 ? 250 : 255) << k;

    // Step 7 down: 128 - 7*18 = 2, then clamped to 0; a 1 bit after that gives 7.
    const Bytes down = DecodeSamples(Bytes{0x00, 0x00, 0x00, 0x80}, 7);
    for (int k = 0; k < 18; ++k) EXPECT_EQ(down[k], 128 - 7 * (k + 1)) << k;
    for (int k = 18; k < 24; ++k) EXPECT_EQ(down[k], 0) << k;
    EXPECT_EQ(down[24], 7);
    EXPECT_EQ(down[25], 0);
}

TEST(DeltaCodec, DecoderStopsAtTheEndOfItsOutput) {
    // Room for two bytes' samples and a little more: only whole bytes decode.
    Bytes out(8 * 2 + 5, 0xAA);
    EXPECT_EQ(DecodeDelta(Bytes{0xFF, 0xFF, 0xFF}, 5, out), 16u);
    EXPECT_EQ(out[15], 128 + 5 * 16);
    EXPECT_EQ(out[16], 0xAA);
}

TEST(DeltaCodec, DecodedStreamTracksASquareWave) {
    // A square wave between 68 and 188: within 30 samples of each edge the
    // decoded level has caught up and then hovers within one step of it.
    for (int step : {5, 7}) {
        Bytes samples(4800);
        for (std::size_t i = 0; i < samples.size(); ++i) samples[i] = (i / 300) % 2 ? 188 : 68;
        Bytes encoded(samples.size() / 8);
        EncodeDelta(samples, step, encoded);
        Bytes decoded(samples.size());
        DecodeDelta(encoded, step, decoded);
        for (std::size_t i = 0; i < decoded.size(); ++i) {
            if (i % 300 < 30) continue;
            ASSERT_LE(std::abs(decoded[i] - samples[i]), step) << "step " << step << " at " << i;
        }
    }
}

TEST(DeltaCodec, DecoderMatchesTheBitByBitRule) {
    // The decoder skips clamping where a byte cannot reach the rails; random
    // streams wander onto both rails and back, so both ways get compared.
    std::mt19937 rng(11);
    for (int step : {5, 7}) {
        Bytes encoded(4000);
        for (auto& b : encoded) {
            // Runs of mostly-up or mostly-down bytes push the level to a rail.
            const bool drift = (rng() % 3) != 0;
            b = static_cast<std::uint8_t>(drift ? ((rng() % 2) ? 0xFB : 0x04) : rng());
        }
        Bytes want;
        int level = 128;
        for (std::uint8_t b : encoded) {
            for (int bit = 7; bit >= 0; --bit) {
                level = std::clamp(level + (((b >> bit) & 1) ? step : -step), 0, 255);
                want.push_back(static_cast<std::uint8_t>(level));
            }
        }
        ASSERT_NE(std::count(want.begin(), want.end(), 0), 0);
        ASSERT_NE(std::count(want.begin(), want.end(), 255), 0);
        EXPECT_EQ(DecodeSamples(encoded, step), want) << "step " << step;
    }
}

}  // namespace
}  // namespace korvex
