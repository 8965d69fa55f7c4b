#pragma once
#include <string_view>

#include "link/profile.h"

namespace korvex {

// The programs' words for converted and spoken sound.
struct SoundTexts {
    std::string_view cannotDecode;  // followed by the file and the library's reason
    std::string_view silent;
    std::string_view notFinite;  // a float sample that is NaN or infinite
    std::string_view badWav;     // a WAV header libsndfile cannot read: + one of the two below
    std::string_view noChannels;
    std::string_view fmtPastEnd;
    std::string_view tooLongBefore;  // + seconds
    std::string_view tooLongMiddle;  // + seconds of room
    std::string_view tooLongAfter;
    std::string_view moreThan;           // before the seconds of a stream read only so far
    std::string_view bytesBefore;        // a file taken as it is: " (" + encoded bytes
    std::string_view bytesAfter;         // + ")"
    std::string_view textTooLongBefore;  // speech: + characters
    std::string_view textTooLongMiddle;  // + seconds of room
    std::string_view textTooLongAfter;
    std::string_view cutBefore;      // + seconds of room
    std::string_view cutAfter;
    std::string_view badRate;        // followed by the rates
    std::string_view noText;
    std::string_view speechFailed;   // followed by espeak-ng's reason
    std::string_view noConversion;   // a build without the conversion libraries
};

inline constexpr SoundTexts kSoundRussian{
    .cannotDecode = "Не удалось прочитать звук из файла",
    .silent = "В файле нет звука, только тишина",
    .notFinite = "В файле есть отсчёты, не являющиеся числами (NaN или бесконечность); такой звук не загружается",
    .badWav = "Заголовок WAV неверен: ",
    .noChannels = "в нём 0 каналов",
    .fmtPastEnd = "блок fmt длиннее файла",
    .tooLongBefore = "Звук длится ",
    .tooLongMiddle = ", а в свободную память помещается ",
    .tooLongAfter = ".",
    .moreThan = "более ",
    .bytesBefore = " (",
    .bytesAfter = " байт)",
    .textTooLongBefore = "Текст слишком длинный: ",
    .textTooLongMiddle = " знаков не прозвучат за ",
    .textTooLongAfter = ", которые вмещает память.",
    .cutBefore = "Обрезать звук до ",
    .cutAfter = "?",
    .badRate = "Частота дискретизации только",
    .noText = "Нет текста для озвучивания",
    .speechFailed = "Не удалось озвучить текст",
    .noConversion = "Преобразование звука недоступно в этой сборке",
};

inline constexpr SoundTexts kSoundEnglish{
    .cannotDecode = "Cannot read the sound in the file",
    .silent = "The file holds only silence",
    .notFinite = "The file holds samples that are no numbers (NaN or infinite); such a sound is not loaded",
    .badWav = "The WAV header is wrong: ",
    .noChannels = "it has 0 channels",
    .fmtPastEnd = "its fmt chunk is longer than the file",
    .tooLongBefore = "The sound lasts ",
    .tooLongMiddle = "; the free memory holds ",
    .tooLongAfter = ".",
    .moreThan = "more than ",
    .bytesBefore = " (",
    .bytesAfter = " bytes)",
    .textTooLongBefore = "The text is too long: ",
    .textTooLongMiddle = " characters cannot be spoken in the ",
    .textTooLongAfter = " the memory holds.",
    .cutBefore = "Cut the sound to ",
    .cutAfter = "?",
    .badRate = "Sample rate only",
    .noText = "There is no text to speak",
    .speechFailed = "Cannot speak the text",
    .noConversion = "Sound conversion is not available in this build",
};

inline const SoundTexts& SoundTextsFor(const Profile& profile) {
    return profile.kind == ModuleKind::Full ? kSoundRussian : kSoundEnglish;
}

}  // namespace korvex
