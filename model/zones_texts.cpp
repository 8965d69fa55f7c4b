#include "model/zones_texts.h"

namespace korvex {
namespace {

constexpr ZonesTexts kRussian = {
    .groupsBox = "Зоны",
    .groups = {"Зона 1", "Зона 2", "Зона 3", "Тестовое СМС"},
    .actionsBox = "Действия",
    .actionLabel = "Действие №",
    .smsBox = "СМС",
    .phoneLabel = "Телефон",
    .smsLabel = "СМС",
    .autodialBox = "Автодозвон",
    .soundLabel = "Звук",
    .zoneTypeBox = "Тип зоны",
    .alarmLabel = "Тревога при",
    .alarmConditions = {"Замыкание", "Обрыв"},
    .none = "НЕТ",
    .phoneItem = "№",
    .textItem = "#",
};

constexpr ZonesTexts kEnglish = {
    .groupsBox = "Zones",
    .groups = {"Zone 1", "Zone 2", "Zone 3", "Test SMS"},
    .actionsBox = "Actions",
    .actionLabel = "Action #",
    .smsBox = "SMS",
    .phoneLabel = "Phone",
    .smsLabel = "SMS",
    .autodialBox = "Autocall",
    .soundLabel = "Sound",
    .zoneTypeBox = "Zone type",
    .alarmLabel = "Alarm at",
    .alarmConditions = {"Short", "Break"},
    .none = "No",
    .phoneItem = "#",
    .textItem = "#",
};

}  // namespace

const ZonesTexts& ZonesTextsFor(ModuleKind kind) { return kind == ModuleKind::Full ? kRussian : kEnglish; }

}  // namespace korvex
