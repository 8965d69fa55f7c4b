#include "voice/delta_encoder.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <vector>

#include "voice/delta_codec.h"

namespace korvex {

std::optional<DeltaEncoder> ParseDeltaEncoder(std::string_view name) {
    if (name == "plain") return DeltaEncoder::Plain;
    if (name == "trellis") return DeltaEncoder::Trellis;
    return std::nullopt;
}

std::string_view DeltaEncoderName(DeltaEncoder encoder) {
    return encoder == DeltaEncoder::Plain ? "plain" : "trellis";
}

namespace {

constexpr int kLevels = 256;
constexpr int kStartLevel = 128;
constexpr double kUnreached = std::numeric_limits<double>::max() / 4;
constexpr std::size_t kWeightFrame = 256;
constexpr double kPowerFloor = 4.0;
constexpr int kPasses = 2;

// Per sample, which bit led to each level (one bit per level), and for the
// two clamped levels, which level the step came from: 0 and 255 are reached
// from several levels, every other level from exactly one per direction.
struct Decisions {
    std::vector<std::array<std::uint64_t, 4>> bits;
    std::vector<std::uint8_t> fromForBottom;
    std::vector<std::uint8_t> fromForTop;
};

// One trellis search: the stream whose decoding has the least sum of
// weight x squared error against the samples, over `n` samples.
void SearchTrellis(std::span<const std::uint8_t> samples, std::size_t n, int step, const std::vector<double>& weight,
                   std::span<std::uint8_t> out) {
    const std::size_t count = n / 8;
    std::array<double, kLevels> cost;
    std::array<double, kLevels> next;
    cost.fill(kUnreached);
    cost[kStartLevel] = 0;
    Decisions d;
    d.bits.resize(n);
    d.fromForBottom.resize(n);
    d.fromForTop.resize(n);

    for (std::size_t t = 0; t < n; ++t) {
        const int x = samples[t];
        const double w = weight[t];
        std::array<std::uint64_t, 4> bits{};
        // Unclamped moves: level L comes up from L - step or down from L + step.
        for (int level = 0; level < kLevels; ++level) {
            const double up = level - step >= 0 ? cost[static_cast<std::size_t>(level - step)] : kUnreached;
            const double down = level + step < kLevels ? cost[static_cast<std::size_t>(level + step)] : kUnreached;
            const bool takeUp = up < down;
            next[static_cast<std::size_t>(level)] = takeUp ? up : down;
            bits[static_cast<std::size_t>(level >> 6)] |= static_cast<std::uint64_t>(takeUp) << (level & 63);
        }
        // Clamped moves: 255 is reached only upwards, from any level of
        // 255 - step and higher; 0 only downwards, from `step` and lower.
        int top = kLevels - 1 - step;
        for (int from = top + 1; from < kLevels; ++from)
            if (cost[static_cast<std::size_t>(from)] < cost[static_cast<std::size_t>(top)]) top = from;
        int bottom = step;
        for (int from = step - 1; from >= 0; --from)
            if (cost[static_cast<std::size_t>(from)] < cost[static_cast<std::size_t>(bottom)]) bottom = from;
        next[kLevels - 1] = cost[static_cast<std::size_t>(top)];
        next[0] = cost[static_cast<std::size_t>(bottom)];
        d.fromForTop[t] = static_cast<std::uint8_t>(top);
        d.fromForBottom[t] = static_cast<std::uint8_t>(bottom);
        bits[3] |= std::uint64_t{1} << 63;
        bits[0] &= ~std::uint64_t{1};
        for (int level = 0; level < kLevels; ++level) {
            const double e = level - x;
            cost[static_cast<std::size_t>(level)] = next[static_cast<std::size_t>(level)] + w * e * e;
        }
        d.bits[t] = bits;
    }

    // Back from the cheapest end level, one bit per sample.
    int level = static_cast<int>(std::min_element(cost.begin(), cost.end()) - cost.begin());
    std::fill(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(count), std::uint8_t{0});
    for (std::size_t t = n; t-- > 0;) {
        const bool up = (d.bits[t][static_cast<std::size_t>(level >> 6)] >> (level & 63)) & 1;
        if (up) out[t / 8] = static_cast<std::uint8_t>(out[t / 8] | (0x80u >> (t % 8)));
        if (level == kLevels - 1 && up) level = d.fromForTop[t];
        else if (level == 0 && !up) level = d.fromForBottom[t];
        else level += up ? -step : step;
    }
}

// The mean power of each frame of `kWeightFrame` samples, of the samples
// around 128 or of their difference from `decoded`.
std::vector<double> FramePower(std::span<const std::uint8_t> samples, std::size_t n,
                               std::span<const std::uint8_t> decoded) {
    std::vector<double> power((n + kWeightFrame - 1) / kWeightFrame, 0.0);
    for (std::size_t i = 0; i < n; ++i) {
        const double v = static_cast<double>(samples[i]) - (decoded.empty() ? kStartLevel : decoded[i]);
        power[i / kWeightFrame] += v * v;
    }
    for (std::size_t f = 0; f < power.size(); ++f)
        power[f] /= static_cast<double>(std::min(kWeightFrame, n - f * kWeightFrame));
    return power;
}

void WeightByFrame(const std::vector<double>& power, std::vector<double>& weight) {
    for (std::size_t i = 0; i < weight.size(); ++i) weight[i] = 1.0 / (power[i / kWeightFrame] + kPowerFloor);
}

}  // namespace

std::size_t EncodeDeltaTrellis(std::span<const std::uint8_t> samples, int step, std::span<std::uint8_t> out) {
    const std::size_t count = std::min(samples.size() / 8, out.size());
    const std::size_t n = count * 8;
    if (n == 0) return 0;
    step = std::clamp(step, 1, 255);

    // The segmental SNR is a mean of log(signal / noise) over frames, so a
    // frame's error counts in inverse proportion to its noise power. That
    // power is only known after a search: the first weights by the frame's
    // signal power, each further one by the noise the search before left.
    std::vector<double> weight(n);
    WeightByFrame(FramePower(samples, n, {}), weight);
    std::vector<std::uint8_t> decoded(n);
    for (int pass = 0; pass < kPasses; ++pass) {
        if (pass > 0) {
            DecodeDelta(out.first(count), step, decoded);
            WeightByFrame(FramePower(samples, n, decoded), weight);
        }
        SearchTrellis(samples, n, step, weight, out);
    }
    return count;
}

std::size_t EncodeDeltaWith(DeltaEncoder encoder, std::span<const std::uint8_t> samples, int step,
                            std::span<std::uint8_t> out) {
    return encoder == DeltaEncoder::Plain ? EncodeDelta(samples, step, out) : EncodeDeltaTrellis(samples, step, out);
}

}  // namespace korvex
