#include "model/messages_texts.h"

namespace korvex {
namespace {
constexpr MessagesTexts kRussian = {"CMC", "Текст сообщения", "Принимает ли телефон кириллицу?", "#", "Да", "Нет"};
constexpr MessagesTexts kEnglish = {"SMS", "Message text", "Does the phone support Cyrillic letters?", "#", "Yes", "No"};
}  // namespace

const MessagesTexts& MessagesTextsFor(ModuleKind kind) { return kind == ModuleKind::Full ? kRussian : kEnglish; }

}  // namespace korvex
