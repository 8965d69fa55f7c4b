#pragma once
#include <array>

#include "model/config_settings.h"
#include "model/sms_layout.h"

namespace korvex {

// Words of the Communicator page (UTF-8; the full module only).
struct CommunicatorTexts {
    const char* noPhone;                                     // first entry of both phone lists
    std::array<const char*, kReportActions> actions;         // "Действие №1".."№4"
    std::array<const char*, kSmsLanguageCount> languages;    // index = SmsLanguage
    const char* actionsBox;
    const char* smsBox;
    const char* typesBox;
    const char* layoutBox;
    const char* phoneLabel;
    const char* languageLabel;
    const char* smsLabel;
    const char* autodialBox;
};

// A report box and its bit of ReportTypeMask, in the order the page lists
// them: the first three in the left column, the rest in the right one.
struct ReportBoxText {
    int bit;
    const char* text;
};
inline constexpr int kReportBoxesLeft = 3;
inline constexpr std::array<ReportBoxText, 7> kReportBoxes = {{{0, "Тревоги (1xx)"},
                                                               {1, "Восстановления (1xx)"},
                                                               {2, "Постановки/Снятия (4xx)"},
                                                               {5, "Наблюдение (2xx)"},
                                                               {3, "Неисправности (3xx)"},
                                                               {6, "Обходы (5xx)"},
                                                               {4, "Тестовые (6xx)"}}};
// The SMS layout boxes by bit of SmsLayoutMask (kLayoutObjectName, Id, Partition).
inline constexpr std::array<const char*, 3> kLayoutBoxes = {"Название объекта", "ID объекта", "Раздел"};

inline constexpr CommunicatorTexts kCommunicatorTexts{
    .noPhone = "НЕТ",
    .actions = {"Действие №1", "Действие №2", "Действие №3", "Действие №4"},
    .languages = {"Английский", "ПсевдоРусский", "Русский"},
    .actionsBox = "Действия",
    .smsBox = "СМС",
    .typesBox = "Типы отчетов",
    .layoutBox = "Вид СМС",
    .phoneLabel = "Телефон",
    .languageLabel = "Язык",
    .smsLabel = "CMC",
    .autodialBox = "Автодозвон",
};

}  // namespace korvex
