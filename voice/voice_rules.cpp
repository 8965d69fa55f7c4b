#include "voice/voice_rules.h"

#include <algorithm>

namespace korvex {
namespace {

constexpr std::uint16_t kFullRates[] = {22050, 16000, 11025};
constexpr std::uint16_t kCompactRates[] = {22050};

const VoiceRules kFullVoice{
    .acceptedRates = kFullRates,
    .defaultRate = 0,
    .hasRateCode = true,
    .intakeLimit = kMemorySize - 2048 - 1,
    .refusalDecodesSlot = true,
    .tooLarge = "Слишком большой файл",
    .unknownFormat = "Неизвестный формат",
    .badRate = "Частота только 22050, 16000, 11025 Гц",
    .badBits = "Разрешение только 8 бит",
    .badChannels = "Только моно",
    .cannotOpen = "Не удалось открыть файл",
    .cannotRead = "Не удалось прочитать файл",
    .shorterThanHeader = "Файл короче заголовка WAV (44 байта)",
    .overMemory = "Звуковые сообщения не помещаются в память:",
    .overMemoryBytes = "байт, свободно",
    .overMemoryRoom = "байт. Ничего не записано.",
    .freeBefore = "Свободно ",
    .freeAfter = " кБайт",
};

const VoiceRules kCompactVoice{
    .acceptedRates = kCompactRates,
    .defaultRate = 22050,
    .hasRateCode = false,
    .intakeLimit = kMemorySize - 832,
    .refusalDecodesSlot = false,
    .tooLarge = "File is too long",
    .unknownFormat = "Unknown format!",
    .badRate = "Error: not 22050 Hz!",
    .badBits = "Error: not 8-bit!",
    .badChannels = "Error: not mono!",
    .cannotOpen = "Cannot open file",
    .cannotRead = "Cannot read file",
    .shorterThanHeader = "File is shorter than a WAV header (44 bytes)",
    .overMemory = "Audio messages do not fit in the memory:",
    .overMemoryBytes = "bytes, room for",
    .overMemoryRoom = "bytes. Nothing was written.",
    .freeBefore = "",
    .freeAfter = " KByte are free",
};

}  // namespace

const VoiceRules& VoiceRulesFor(const Profile& profile) {
    return profile.kind == ModuleKind::Full ? kFullVoice : kCompactVoice;
}

std::uint32_t VoiceRoom(const Profile& profile) {
    return std::min<std::uint32_t>(profile.capacity, kMemorySize - profile.voiceStart);
}

}  // namespace korvex
