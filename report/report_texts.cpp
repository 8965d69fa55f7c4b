#include "report/report_texts.h"

namespace korvex {
namespace {

constexpr ReportTexts kRussian = {
    .title = "Отчёт о настройке модуля",
    .object = "Объект",
    .project = "Проект",
    .notSaved = "не сохранён в файл",
    .off = "НЕТ",
    .noNumber = "номер не задан",
    .pageOf = "стр. %1 из %2",
    .module = "Модуль",
    .moduleKind = "Сотовый автодозвон (полный)",
    .version = "Версия программы",
    .date = "Дата",
    .field = "Поле",
    .value = "Значение",
    .page = "Страница",
    .slotLength = "Длина",
    .slotDuration = "Длительность",
    .bytes = "байт",
    .seconds = "с",
    .decimalPoint = ',',
    .voiceHeading = "Звуковые сообщения",
    .logHeading = "Журнал событий",
    .noDifferences = "Нет различий",
    .left = "Проект",
    .right = "Модуль",
};

constexpr ReportTexts kEnglish = {
    .title = "Module settings report",
    .object = "Object",
    .project = "Project",
    .notSaved = "not saved to a file",
    .off = "No",
    .noNumber = "no number",
    .pageOf = "page %1 of %2",
    .module = "Module",
    .moduleKind = "GSM auto-dialer, 4 zones (compact)",
    .version = "Program version",
    .date = "Date",
    .field = "Field",
    .value = "Value",
    .page = "Page",
    .slotLength = "Length",
    .slotDuration = "Duration",
    .bytes = "bytes",
    .seconds = "s",
    .decimalPoint = '.',
    .voiceHeading = "Voice messages",
    .logHeading = "Event log",
    .noDifferences = "No differences",
    .left = "Project",
    .right = "Module",
};

}  // namespace

const ReportTexts& ReportTextsFor(ModuleKind kind) { return kind == ModuleKind::Full ? kRussian : kEnglish; }

}  // namespace korvex
