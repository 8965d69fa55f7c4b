#include "model/messages_texts.h"

namespace korvex {
namespace {
constexpr MessagesTexts kRussian = {"CMC", "Текст сообщения", "Принимает ли телефон кирилицу?", "#", "Да", "Нет"};
constexpr MessagesTexts kEnglish = {"SMS", "Message text", "Does phone supports Cyrillic letters?", "#", "Yes", "No"};
}  // namespace

const MessagesTexts& MessagesTextsFor(ModuleKind kind) { return kind == ModuleKind::Full ? kRussian : kEnglish; }

}  // namespace korvex
