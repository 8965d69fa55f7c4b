#include "audio/sound_intake.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <memory>
#include <system_error>

#include "audio/leveller.h"
#include "audio/resample.h"
#include "audio/sound_file.h"
#include "audio/sound_texts.h"
#include "audio/speech.h"
#include "link/path_text.h"
#include "model/file_io.h"
#include "sim/transfer_estimate.h"
#include "voice/voice_rules.h"
#include "voice/voice_store.h"
#include "voice/wav_buffer.h"

namespace korvex {
namespace {

// The header the WAV intake takes as it is: the same offsets it looks at.
struct HeadCheck {
    bool complete = false;    // 44 bytes could be read
    bool hasFmt = false;      // "fmt " at 12
    bool slotFormat = false;  // "fmt ", an accepted rate, 8 bits, mono
    std::uint16_t rate = 0;
    std::uint16_t channels = 0;
    std::uint32_t fmtSize = 0;
};

HeadCheck CheckHead(const Profile& profile, const std::filesystem::path& path) {
    HeadCheck check;
    const FileHandle in = OpenFile(path, "rb");
    std::uint8_t b[kWavHeaderSize] = {};
    if (!in || std::fread(b, 1, sizeof b, in.get()) != sizeof b) return check;
    check.complete = true;
    check.rate = static_cast<std::uint16_t>(b[24] | (b[25] << 8));
    check.channels = static_cast<std::uint16_t>(b[22] | (b[23] << 8));
    check.fmtSize = static_cast<std::uint32_t>(b[16] | (b[17] << 8) | (b[18] << 16)) | (std::uint32_t{b[19]} << 24);
    check.hasFmt = std::memcmp(b + 12, "fmt ", 4) == 0;
    check.slotFormat = check.hasFmt && SlotRateAccepted(profile, check.rate) && b[34] == 8 && b[22] == 1;
    return check;
}

// The fault of a WAV header libsndfile could not read, when it is one the
// conversion would otherwise have taken past.
WavFault FaultOf(const HeadCheck& head, const std::filesystem::path& path) {
    if (!head.hasFmt) return WavFault::None;
    if (head.channels == 0) return WavFault::NoChannels;
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    // The chunk's 8-byte head starts at 12.
    if (!ec && head.fmtSize > size - std::min<std::uintmax_t>(size, 20)) return WavFault::FmtPastEnd;
    return WavFault::None;
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

// espeak-ng says about 15 letters a second at its default speed; a text with
// more than this many per second of room cannot fit, however it is said.
constexpr double kMostCharactersPerSecond = 40.0;

// A file in the module's format that is too long: refused with both lengths,
// or with `cut` its first samples taken as they are.
SoundOutcome TooLongAsItIs(const std::filesystem::path& path, std::uint16_t rate, VoiceStore& store, WavBuffer& wav,
                           const SoundOptions& options) {
    const Profile& profile = store.GetProfile();
    SoundOutcome outcome;
    outcome.file = PathToUtf8(path);
    outcome.rate = rate;
    std::error_code ec;
    std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec) size = profile.wavBufferSize + 1;  // a device or a pipe: at least what the intake read
    const std::uintmax_t samples = size - kWavHeaderSize;
    const std::size_t room = RoomInSamples(store);
    outcome.seconds = static_cast<double>(samples) / rate;
    outcome.roomSeconds = static_cast<double>(room) / rate;
    outcome.bytes = static_cast<std::uint32_t>(std::min<std::uintmax_t>(samples / 8, UINT32_MAX));
    outcome.roomBytes = static_cast<std::uint32_t>(room / 8);
    if (!options.cut || room == 0) {
        outcome.result = SoundResult::TooLong;
        return outcome;
    }
    const FileBytes head = ReadFileBytes(path, kWavHeaderSize + room);
    if (!head.outcome.Ok() || head.bytes.size() < kWavHeaderSize + room) {
        outcome.result = SoundResult::Refused;
        outcome.wav.result = WavResult::CannotRead;
        outcome.wav.file = outcome.file;
        outcome.wav.reason = head.outcome.reason;
        return outcome;
    }
    std::vector<std::uint8_t> file(kWavHeaderSize);
    WriteWavHeader(file, rate, static_cast<std::uint32_t>(room));
    file.insert(file.end(), head.bytes.begin() + kWavHeaderSize, head.bytes.end());
    outcome.wav = LoadWav(file, store, wav, options.fittingEncoder);
    if (!outcome.wav.Ok()) outcome.result = SoundResult::Refused;
    else outcome.cut = true;
    return outcome;
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
        case SoundResult::TooLong: {
            auto bytes = [&](std::uint32_t n) {
                return outcome.bytes ? std::string(t.bytesBefore) + std::to_string(n) + std::string(t.bytesAfter)
                                     : std::string();
            };
            return std::string(t.tooLongBefore) + (outcome.longer ? std::string(t.moreThan) : std::string()) +
                   Seconds(profile, outcome.seconds) + bytes(outcome.bytes) + std::string(t.tooLongMiddle) +
                   Seconds(profile, outcome.roomSeconds) + bytes(outcome.roomBytes) + std::string(t.tooLongAfter);
        }
        case SoundResult::NotFinite: return std::string(t.notFinite);
        case SoundResult::BadWav:
            return std::string(t.badWav) +
                   std::string(outcome.wavFault == WavFault::NoChannels ? t.noChannels : t.fmtPastEnd);
        case SoundResult::TextTooLong:
            return std::string(t.textTooLongBefore) + std::to_string(outcome.characters) +
                   std::string(t.textTooLongMiddle) + Seconds(profile, outcome.roomSeconds) +
                   std::string(t.textTooLongAfter);
        case SoundResult::BadRate: {
            std::string text(t.badRate);
            const auto& rates = VoiceRulesFor(profile).acceptedRates;
            for (std::size_t i = 0; i < rates.size(); ++i) text += (i ? ", " : " ") + std::to_string(rates[i]);
            return text + " Hz";
        }
        case SoundResult::NoText: return std::string(t.noText);
        case SoundResult::SpeechFailed:
            return std::string(t.speechFailed) + (outcome.reason.empty() ? "" : " (" + outcome.reason + ")");
        case SoundResult::NoConversion: {
            std::string text(t.noConversion);
            if (!outcome.file.empty()) text += ": \"" + outcome.file + "\"";
            return text;
        }
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
    if (!SoundConversionAvailable()) {
        outcome.result = SoundResult::NoConversion;
        return outcome;
    }
    if (sound.samples.empty()) {
        // No samples at all empties the slot, as a header-only file in the
        // module's own format does: one rule for every format.
        std::vector<std::uint8_t> file(kWavHeaderSize);
        WriteWavHeader(file, outcome.rate, 0);
        outcome.wav = LoadWav(file, store, wav, options.encoder);
        if (!outcome.wav.Ok()) outcome.result = SoundResult::Refused;
        return outcome;
    }
    // Far longer than the room and not to be cut: told before the
    // conversion, which would take long on a file of many minutes.
    if (const std::size_t room = RoomInSamples(store);
        !options.cut && sound.Seconds() * outcome.rate > static_cast<double>(room) + outcome.rate) {
        outcome.result = SoundResult::TooLong;
        outcome.seconds = sound.Seconds();
        outcome.roomSeconds = static_cast<double>(room) / outcome.rate;
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

SoundOutcome CheckIsSound(const std::filesystem::path& path) {
    SoundOutcome outcome;
    const FileHandle in = OpenFile(path, "rb");
    char tag[4] = {};
    if (!in || std::fread(tag, 1, sizeof tag, in.get()) != sizeof tag || std::memcmp(tag, "RIFF", 4) == 0)
        return outcome;
    if (SoundFileOpens(path, outcome.reason)) {
        outcome.reason.clear();
        return outcome;
    }
    outcome.result = SoundResult::CannotDecode;
    outcome.file = PathToUtf8(path);
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
        // Taken as it is or not at all: never converted, levelled and faded
        // only because it is a little too long.
        return TooLongAsItIs(path, head.rate, store, wav, options);
    }

    if (!SoundConversionAvailable()) {
        // Its header was read whole: the file is there, and only the
        // conversion this build lacks could take it.
        SoundOutcome outcome;
        outcome.file = PathToUtf8(path);
        outcome.result = SoundResult::NoConversion;
        return outcome;
    }
    SoundFileRead read = ReadSoundFile(path);
    if (read.notFinite) {
        SoundOutcome outcome;
        outcome.file = PathToUtf8(path);
        outcome.result = SoundResult::NotFinite;
        return outcome;
    }
    if (!read.ok) {
        // What libsndfile cannot read, the WAV intake refuses in its own
        // words, unless all it can say is that the file is large, or its
        // words are about a rate, a bit depth or channels the conversion
        // would have taken: then the header's real fault, or libsndfile's.
        SoundOutcome outcome = wavIntake();
        const WavResult said = outcome.wav.result;
        const bool convertible =
            said == WavResult::BadRate || said == WavResult::BadBits || said == WavResult::BadChannels;
        if (said == WavResult::TooLarge || convertible) {
            outcome.wavFault = FaultOf(head, path);
            outcome.result = outcome.wavFault != WavFault::None ? SoundResult::BadWav : SoundResult::CannotDecode;
            outcome.reason = read.reason;
        }
        return outcome;
    }
    SoundOptions own = options;
    if (!own.rate && head.slotFormat) own.rate = head.rate;
    SoundOutcome outcome = LoadSound(std::move(read.sound), store, wav, own);
    outcome.file = PathToUtf8(path);
    if (outcome.result == SoundResult::TooLong && read.seconds > outcome.seconds) {
        // Read only up to the limit: the length told is the file's.
        outcome.seconds = read.seconds;
        outcome.longer = read.longer;
    }
    return outcome;
}

SoundOutcome LoadSpeech(std::string_view text, std::string_view language, VoiceStore& store, WavBuffer& wav,
                        const SoundOptions& options) {
    SoundOutcome outcome;
    if (text.find_first_not_of(" \t\r\n") == std::string_view::npos) {
        outcome.result = SoundResult::NoText;
        return outcome;
    }
    const std::uint16_t rate = options.rate ? options.rate : DefaultSlotRate(store.GetProfile());
    if (rate == 0 || !SlotRateAccepted(store.GetProfile(), rate)) {
        outcome.result = SoundResult::BadRate;
        return outcome;
    }
    const double room = static_cast<double>(RoomInSamples(store)) / rate;
    if (!SpeechMayFit(text, room)) {
        // Before speaking: a long text costs seconds and memory for nothing.
        outcome.result = SoundResult::TextTooLong;
        outcome.characters = SpokenCharacters(text);
        outcome.roomSeconds = room;
        return outcome;
    }
    if (!SoundConversionAvailable()) {
        outcome.result = SoundResult::NoConversion;
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

std::size_t SpokenCharacters(std::string_view text) {
    std::size_t count = 0;
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0xC0 || (b < 0x80 && std::isalnum(b))) ++count;  // a lead byte starts one character
    }
    return count;
}

bool SpeechMayFit(std::string_view text, double roomSeconds) {
    return static_cast<double>(SpokenCharacters(text)) <= roomSeconds * kMostCharactersPerSecond;
}

double EmptyMemorySeconds(const Profile& profile, std::uint16_t rate) {
    if (rate == 0) return 0;
    const auto empty = std::make_unique<VoiceStore>(profile);  // large: kept off the stack
    return static_cast<double>(RoomInSamples(*empty)) / rate;
}

}  // namespace korvex
