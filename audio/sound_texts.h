#pragma once
#include <string_view>

#include "link/profile.h"

namespace korvex {

// The programs' words for converted and spoken sound.
struct SoundTexts {
    std::string_view cannotDecode;  // followed by the file and the library's reason
    std::string_view silent;
    std::string_view tooLongBefore;  // + seconds
    std::string_view tooLongMiddle;  // + seconds of room
    std::string_view tooLongAfter;
    std::string_view cutBefore;      // + seconds of room
    std::string_view cutAfter;
    std::string_view badRate;        // followed by the rates
    std::string_view noText;
    std::string_view speechFailed;   // followed by espeak-ng's reason
    std::string_view secondsUnit;
};

inline constexpr SoundTexts kSoundRussian{
    .cannotDecode = "Не удалось прочитать звук из файла",
    .silent = "В файле нет звука, только тишина",
    .tooLongBefore = "Звук длится ",
    .tooLongMiddle = ", а в свободную память помещается ",
    .tooLongAfter = ".",
    .cutBefore = "Обрезать звук до ",
    .cutAfter = "?",
    .badRate = "Частота дискретизации только",
    .noText = "Нет текста для озвучивания",
    .speechFailed = "Не удалось озвучить текст",
    .secondsUnit = " с",
};

inline constexpr SoundTexts kSoundEnglish{
    .cannotDecode = "Cannot read the sound in the file",
    .silent = "The file holds only silence",
    .tooLongBefore = "The sound lasts ",
    .tooLongMiddle = "; the free memory holds ",
    .tooLongAfter = ".",
    .cutBefore = "Cut the sound to ",
    .cutAfter = "?",
    .badRate = "Sample rate only",
    .noText = "There is no text to speak",
    .speechFailed = "Cannot speak the text",
    .secondsUnit = " s",
};

inline const SoundTexts& SoundTextsFor(const Profile& profile) {
    return profile.kind == ModuleKind::Full ? kSoundRussian : kSoundEnglish;
}

}  // namespace korvex
