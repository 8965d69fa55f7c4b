#include "voice/wav_intake.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "link/path_text.h"
#include "voice/delta_codec.h"
#include "voice/voice_rules.h"
#include "voice/voice_store.h"
#include "voice/wav_buffer.h"

namespace korvex {

std::string WavOutcomeText(const Profile& profile, const WavOutcome& outcome) {
    const VoiceRules& rules = VoiceRulesFor(profile);
    auto withFile = [&](std::string_view what) {
        std::string text(what);
        if (!outcome.file.empty()) text += ": \"" + outcome.file + "\"";
        if (!outcome.reason.empty()) text += " (" + outcome.reason + ")";
        return text;
    };
    switch (outcome.result) {
        case WavResult::Ok: return {};
        case WavResult::CannotOpen: return withFile(rules.cannotOpen);
        case WavResult::CannotRead: return withFile(rules.cannotRead);
        case WavResult::ShorterThanHeader: return withFile(rules.shorterThanHeader);
        case WavResult::TooLarge: return std::string(rules.tooLarge);
        case WavResult::UnknownFormat: return std::string(rules.unknownFormat);
        case WavResult::BadRate: return std::string(rules.badRate);
        case WavResult::BadBits: return std::string(rules.badBits);
        case WavResult::BadChannels: return std::string(rules.badChannels);
    }
    return {};
}

std::uint32_t SlotLengthFor(const Profile& profile, std::uint32_t encodedBytes) {
    return profile.wholePageSlots ? (encodedBytes / 64 + 1) * 64 : encodedBytes;
}

namespace {

// The size check, before anything changes. Both the slot the file needs and
// the buffer it is read into must have room; the other slots count, the
// slot being replaced does not.
bool FitsBesideOtherSlots(const Profile& profile, const VoiceStore& store, std::uint64_t fileSize) {
    const std::uint64_t others = store.UsedByOthers(store.currentSlot);
    const std::uint64_t encoded = (fileSize - kWavHeaderSize) / 8;
    if (encoded > kMemorySize) return false;
    const std::uint64_t slot = SlotLengthFor(profile, static_cast<std::uint32_t>(encoded));
    if (others + slot > VoiceRulesFor(profile).intakeLimit) return false;
    return fileSize + 8 * others < profile.wavBufferSize;
}

WavResult CheckHeader(const Profile& profile, std::span<const std::uint8_t> b, std::uint16_t& rate) {
    if (std::memcmp(b.data() + 12, "fmt ", 4) != 0) return WavResult::UnknownFormat;
    rate = static_cast<std::uint16_t>(b[24] | (b[25] << 8));
    const auto& rates = VoiceRulesFor(profile).acceptedRates;
    if (std::find(rates.begin(), rates.end(), rate) == rates.end()) return WavResult::BadRate;
    if (b[34] != 8) return WavResult::BadBits;
    if (b[22] != 1) return WavResult::BadChannels;
    return WavResult::Ok;
}

}  // namespace

WavOutcome LoadWav(std::span<const std::uint8_t> file, VoiceStore& store, WavBuffer& wav, DeltaEncoder encoder) {
    const Profile& profile = store.GetProfile();
    WavOutcome outcome;
    if (file.size() < kWavHeaderSize) {
        outcome.result = WavResult::ShorterThanHeader;
        return outcome;
    }
    if (!FitsBesideOtherSlots(profile, store, file.size())) {
        outcome.result = WavResult::TooLarge;
        return outcome;
    }

    // The size check keeps the file well inside the buffer.
    wav.Clear();
    wav.SoundLength = static_cast<std::uint32_t>(file.size());
    std::copy(file.begin(), file.end(), wav.bytes.begin());

    outcome.result = CheckHeader(profile, wav.bytes, outcome.rate);
    if (!outcome.Ok()) {
        wav.Clear();
        if (VoiceRulesFor(profile).refusalDecodesSlot) DecodeSlotToWav(store, wav);
        else wav.SoundLength = 0;
        return outcome;
    }

    const auto slot = static_cast<std::size_t>(store.currentSlot);
    const auto samples = std::span<const std::uint8_t>(wav.bytes).subspan(kWavHeaderSize, file.size() - kWavHeaderSize);
    const std::size_t count = EncodeDeltaWith(encoder, samples, profile.codecStep, store.Area(store.currentSlot));
    store.slotLength[slot] = static_cast<std::uint16_t>(SlotLengthFor(profile, static_cast<std::uint32_t>(count)));
    store.slotRate[slot] = outcome.rate;
    return outcome;
}

WavOutcome LoadWavFile(const std::filesystem::path& path, VoiceStore& store, WavBuffer& wav) {
    WavOutcome outcome;
    outcome.file = PathToUtf8(path);
    auto fail = [&](WavResult result, int error) {
        outcome.result = result;
        outcome.reason = error != 0 ? std::strerror(error) : "";
        return outcome;
    };

    errno = 0;
    const FileHandle f = OpenFile(path, "rb");
    if (!f) return fail(WavResult::CannotOpen, errno);

    // One byte more than the buffer holds is enough to know a file is too large.
    std::vector<std::uint8_t> bytes(store.GetProfile().wavBufferSize + 1);
    const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), f.get());
    if (std::ferror(f.get())) return fail(WavResult::CannotRead, errno);
    bytes.resize(got);

    WavOutcome loaded = LoadWav(bytes, store, wav);
    loaded.file = outcome.file;
    return loaded;
}

}  // namespace korvex

