#include "model/properties_texts.h"

namespace korvex {
namespace {

constexpr PropertiesTexts kRussian = {
    .objectName = "Название объекта / Email",
    .password = "Пароль активации PGM",
    .duration = "Длительность активации PGM (сек)",
    .trigger = " Триггерный режим",
    .smsc = "Номер центра сообщений",
    .smscPrefix = "+",
    .cycles = "Кол-во циклов автодозвона (3..9)",
    .testSms = "Период тестового СМС",
    .testSmsPeriods = {"НЕТ", "Один раз в сутки", "1 час", "2 часа", "3 часа", "4 часа", "6 часов", "8 часов",
                       "12 часов"},
    .hourBefore = "Время",
    .hourAfter = ":00",
    .voice = "Голосовое сообщение",
    .voiceTimings = {"После поднятия трубки", "Сразу после дозвона"},
    .comSpeed = "Скорость COM порта (для АТ команд)",
    .comSpeeds = {"115200 (Nokia)", "57600   (S, ME45)", "38400", "19200   (x35, S25)", "9600     (Ericsson)"},
};

constexpr PropertiesTexts kEnglish = {
    .objectName = nullptr,
    .password = "PGM activation code",
    .duration = "PGM activation duration (s)",
    .trigger = "Trigger mode",
    .smsc = "Messages centre number",
    .smscPrefix = "+",
    .cycles = "Quantity of autocall cycles (3..9)",
    .testSms = "Test SMS period",
    .testSmsPeriods = {"No", "Once per each 24 hours", "1 H", "2 H", "3 H", "4 H", "6 H", "8 H", "12 H"},
    .hourBefore = "Time",
    .hourAfter = ":00",
    .voice = "Voice message",
    .voiceTimings = {"after picking up the receiver", "at once after the phone is answered"},
    .comSpeed = nullptr,
    .comSpeeds = {},
};

}  // namespace

const PropertiesTexts& PropertiesTextsFor(ModuleKind kind) { return kind == ModuleKind::Full ? kRussian : kEnglish; }

}  // namespace korvex
