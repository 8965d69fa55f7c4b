#pragma once
#include <string_view>

#include "link/profile.h"

namespace korvex {

// The File page's words for spoken messages, in the two programs. The first
// voice is the one the dialog offers first.
struct SpeakTexts {
    std::string_view speakText;   // the button
    std::string_view title;       // the dialog
    std::string_view text;
    std::string_view language;
    std::string_view firstName;
    std::string_view firstCode;
    std::string_view secondName;
    std::string_view secondCode;
    std::string_view rate;
};

inline constexpr SpeakTexts kSpeakRussian{
    .speakText = "Озвучить текст...",
    .title = "Озвучить текст",
    .text = "Текст:",
    .language = "Язык:",
    .firstName = "Русский",
    .firstCode = "ru",
    .secondName = "Английский",
    .secondCode = "en",
    .rate = "Частота:",
};

inline constexpr SpeakTexts kSpeakEnglish{
    .speakText = "Speak text...",
    .title = "Speak text",
    .text = "Text:",
    .language = "Language:",
    .firstName = "English",
    .firstCode = "en",
    .secondName = "Russian",
    .secondCode = "ru",
    .rate = "Sample rate:",
};

inline const SpeakTexts& SpeakTextsFor(const Profile& profile) {
    return profile.kind == ModuleKind::Full ? kSpeakRussian : kSpeakEnglish;
}

}  // namespace korvex
