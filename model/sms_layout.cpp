#include "model/sms_layout.h"

namespace korvex {

namespace {

struct PreviewTexts {
    std::string_view id;
    std::string_view partition;
    std::string_view event;
};

constexpr PreviewTexts kPreview[kSmsLanguageCount] = {
    {" IDobj,", " Group,", " Event, Zone/User"},
    {" IDobj,", " Razdel,", " Sobytie, Zona/Polzovatel"},
    {" IDобъекта,", " Раздел,", " Событие, Зона/Пользователь"},
};

constexpr std::uint8_t kLanguageBits[kSmsLanguageCount] = {0x00, 0x30, 0x20};

}  // namespace

SmsLanguage LanguageOf(std::uint8_t layoutMask) {
    switch (layoutMask & kLayoutLanguage) {
        case 0x30: return SmsLanguage::Translit;
        case 0x20: return SmsLanguage::Russian;
        default: return SmsLanguage::English;
    }
}

std::uint8_t WithLanguage(std::uint8_t layoutMask, SmsLanguage language) {
    return static_cast<std::uint8_t>((layoutMask & ~kLayoutLanguage) | kLanguageBits[static_cast<int>(language)]);
}

std::string SmsPreview(std::uint8_t layoutMask, std::string_view objectName) {
    const PreviewTexts& texts = kPreview[static_cast<int>(LanguageOf(layoutMask))];
    std::string preview;
    if (layoutMask & kLayoutObjectName) preview += objectName;
    if (layoutMask & kLayoutObjectId) preview += texts.id;
    if (layoutMask & kLayoutPartition) preview += texts.partition;
    preview += texts.event;
    return preview;
}

std::string PhoneChoiceText(std::string_view phone) {
    std::string text(phone);
    if (!text.empty() && text.front() == '-') text.front() = ' ';
    return text;
}

}  // namespace korvex
