#include "audio/sound_intake.h"

#include <algorithm>
#include <cstring>

#include "audio/leveller.h"
#include "audio/resample.h"
#include "audio/sound_file.h"
#include "audio/sound_texts.h"
#include "audio/speech.h"
#include "link/path_text.h"
#include "sim/transfer_estimate.h"
#include "voice/voice_rules.h"
#include "voice/voice_store.h"
#include "voice/wav_buffer.h"

namespace korvex {
namespace {

// The header the WAV intake takes as it is: the same offsets it looks at.
struct HeadCheck {
    bool complete = false;    // 44 bytes could be read
    bool slotFormat = false;  // "fmt ", an accepted rate, 8 bits, mono
    std::uint16_t rate = 0;
};

HeadCheck CheckHead(const Profile& profile, const std::filesystem::path& path) {
    HeadCheck check;
    const FileHandle in = OpenFile(path, "rb");
    std::uint8_t b[kWavHeaderSize] = {};
    if (!in || std::fread(b, 1, sizeof b, in.get()) != sizeof b) return check;
    check.complete = true;
    check.rate = static_cast<std::uint16_t>(b[24] | (b[25] << 8));
    check.slotFormat = std::memcmp(b + 12, "fmt ", 4) == 0 && SlotRateAccepted(profile, check.rate) && b[34] == 8 &&
                       b[22] == 1;
    return check;
}

// Most samples the current slot may take: the intake's own limits (the
// other slots, whole pages on the compact module, the WAV buffer), in
// whole groups of eight.
std::size_t RoomInSamples(const VoiceStore& store) {
    const Profile& profile = store.GetProfile();
    const std::uint64_t others = store.UsedByOthers(store.currentSlot);
    const std::uint64_t limit = VoiceRulesFor(profile).intakeLimit;
    if (others >= limit) return 0;
    std::uint64_t bytes = std::min<std::uint64_t>(limit - others, kMemorySize);
    if (profile.wholePageSlots) bytes = bytes / 64 == 0 ? 0 : (bytes / 64 - 1) * 64 + 63;
    const std::uint64_t buffer = profile.wavBufferSize;
    const std::uint64_t taken = kWavHeaderSize + 8 * others + 1;
    const std::uint64_t bufferSamples = buffer > taken ? buffer - taken : 0;
    return static_cast<std::size_t>(std::min<std::uint64_t>(8 * bytes, bufferSamples) / 8 * 8);
}

std::string Seconds(const Profile& profile, double seconds) {
    return SecondsText(seconds, profile.kind == ModuleKind::Compact);
}

}  // namespace

bool SlotRateAccepted(const Profile& profile, std::uint32_t rate) {
    const auto& rates = VoiceRulesFor(profile).acceptedRates;
    return std::find(rates.begin(), rates.end(), rate) != rates.end();
}

std::uint16_t DefaultSlotRate(const Profile& profile) {
    return profile.kind == ModuleKind::Full ? 16000 : 22050;
}

std::string SoundOutcomeText(const Profile& profile, const SoundOutcome& outcome) {
    const SoundTexts& t = SoundTextsFor(profile);
    switch (outcome.result) {
        case SoundResult::Ok: return {};
        case SoundResult::Refused: return WavOutcomeText(profile, outcome.wav);
        case SoundResult::CannotDecode: {
            std::string text(t.cannotDecode);
            if (!outcome.file.empty()) text += ": \"" + outcome.file + "\"";
            if (!outcome.reason.empty()) text += " (" + outcome.reason + ")";
            return text;
        }
        case SoundResult::Silent: return std::string(t.silent);
        case SoundResult::TooLong:
            return std::string(t.tooLongBefore) + Seconds(profile, outcome.seconds) + std::string(t.tooLongMiddle) +
                   Seconds(profile, outcome.roomSeconds) + std::string(t.tooLongAfter);
        case SoundResult::BadRate: {
            std::string text(t.badRate);
            const auto& rates = VoiceRulesFor(profile).acceptedRates;
            for (std::size_t i = 0; i < rates.size(); ++i) text += (i ? ", " : " ") + std::to_string(rates[i]);
            return text + " Hz";
        }
        case SoundResult::NoText: return std::string(t.noText);
        case SoundResult::SpeechFailed:
            return std::string(t.speechFailed) + (outcome.reason.empty() ? "" : " (" + outcome.reason + ")");
    }
    return {};
}

std::string CutQuestion(const Profile& profile, const SoundOutcome& outcome) {
    const SoundTexts& t = SoundTextsFor(profile);
    return SoundOutcomeText(profile, outcome) + "\n" + std::string(t.cutBefore) +
           Seconds(profile, outcome.roomSeconds) + std::string(t.cutAfter);
}

SlotWavOutcome SlotReadyWav(const Sound& sound, std::uint16_t rate) {
    SlotWavOutcome outcome;
    ResampleOutcome resampled = Resample(sound, rate);
    if (!resampled.Ok()) {
        outcome.error = std::move(resampled.error);
        return outcome;
    }
    Sound& ready = resampled.sound;
    if (!LevelSound(ready)) {
        outcome.silent = true;
        return outcome;
    }
    std::vector<std::uint8_t> samples = ToUnsigned8(ready);
    outcome.file.resize(kWavHeaderSize);
    WriteWavHeader(outcome.file, rate, static_cast<std::uint32_t>(samples.size()));
    outcome.file.insert(outcome.file.end(), samples.begin(), samples.end());
    return outcome;
}

SoundOutcome LoadSound(Sound sound, VoiceStore& store, WavBuffer& wav, const SoundOptions& options) {
    const Profile& profile = store.GetProfile();
    SoundOutcome outcome;
    outcome.converted = true;
    outcome.rate = options.rate ? options.rate : DefaultSlotRate(profile);
    if (!SlotRateAccepted(profile, outcome.rate)) {
        outcome.result = SoundResult::BadRate;
        return outcome;
    }
    ResampleOutcome resampled = Resample(sound, outcome.rate);
    if (!resampled.Ok()) {
        outcome.result = SoundResult::CannotDecode;
        outcome.reason = std::move(resampled.error);
        return outcome;
    }
    Sound& ready = resampled.sound;
    if (!LevelSound(ready)) {
        outcome.result = SoundResult::Silent;
        return outcome;
    }
    const std::size_t room = RoomInSamples(store);
    outcome.seconds = ready.Seconds();
    outcome.roomSeconds = static_cast<double>(room) / outcome.rate;
    if (ready.samples.size() / 8 * 8 > room) {
        if (!options.cut || room == 0) {
            outcome.result = SoundResult::TooLong;
            return outcome;
        }
        ready.samples.resize(room);
        FadeOutEnd(ready);
        outcome.cut = true;
    }

    std::vector<std::uint8_t> file(kWavHeaderSize);
    const std::vector<std::uint8_t> samples = ToUnsigned8(ready);
    WriteWavHeader(file, outcome.rate, static_cast<std::uint32_t>(samples.size()));
    file.insert(file.end(), samples.begin(), samples.end());
    outcome.wav = LoadWav(file, store, wav, options.encoder);
    if (!outcome.wav.Ok()) outcome.result = SoundResult::Refused;
    return outcome;
}

bool SoundFileNeedsConversion(const Profile& profile, const std::filesystem::path& path) {
    const HeadCheck head = CheckHead(profile, path);
    return head.complete && !head.slotFormat;
}

SoundOutcome LoadSoundFile(const std::filesystem::path& path, VoiceStore& store, WavBuffer& wav,
                           const SoundOptions& options) {
    const Profile& profile = store.GetProfile();
    const HeadCheck head = CheckHead(profile, path);
    auto wavIntake = [&]() {
        SoundOutcome outcome;
        outcome.file = PathToUtf8(path);
        outcome.wav = LoadWavFile(path, store, wav);
        outcome.rate = outcome.wav.rate;
        if (!outcome.wav.Ok()) outcome.result = SoundResult::Refused;
        return outcome;
    };

    // A file in the module's own format goes the WAV intake's way, at its own
    // rate, unless it is too long for it: then it is offered for cutting.
    if (!head.complete || (head.slotFormat && (!options.rate || options.rate == head.rate))) {
        SoundOutcome outcome = wavIntake();
        if (options.fittingEncoder != DeltaEncoder::Plain && outcome.Ok()) {
            const std::vector<std::uint8_t> file(wav.bytes.begin(), wav.bytes.begin() + wav.SoundLength);
            outcome.wav = LoadWav(file, store, wav, options.fittingEncoder);
        }
        if (!(head.slotFormat && outcome.wav.result == WavResult::TooLarge)) return outcome;
    }

    SoundFileRead read = ReadSoundFile(path);
    if (!read.ok) {
        // What libsndfile cannot read, the WAV intake refuses in its own
        // words, unless all it can say is that the file is large.
        SoundOutcome outcome = wavIntake();
        if (outcome.wav.result == WavResult::TooLarge) {
            outcome.result = SoundResult::CannotDecode;
            outcome.reason = read.reason;
        }
        return outcome;
    }
    SoundOptions own = options;
    if (!own.rate && head.slotFormat) own.rate = head.rate;
    SoundOutcome outcome = LoadSound(std::move(read.sound), store, wav, own);
    outcome.file = PathToUtf8(path);
    return outcome;
}

SoundOutcome LoadSpeech(std::string_view text, std::string_view language, VoiceStore& store, WavBuffer& wav,
                        const SoundOptions& options) {
    SoundOutcome outcome;
    if (text.find_first_not_of(" \t\r\n") == std::string_view::npos) {
        outcome.result = SoundResult::NoText;
        return outcome;
    }
    SpeechResult spoken = Speak(text, language);
    if (!spoken.ok) {
        outcome.result = SoundResult::SpeechFailed;
        outcome.reason = spoken.reason;
        return outcome;
    }
    return LoadSound(std::move(spoken.sound), store, wav, options);
}

}  // namespace korvex
