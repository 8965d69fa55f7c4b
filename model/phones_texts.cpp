#include "model/phones_texts.h"

namespace korvex {
namespace {
constexpr PhonesTexts kRussian = {"Телефон #", "+"};
constexpr PhonesTexts kEnglish = {"Phone #", "+"};
}  // namespace

const PhonesTexts& PhonesTextsFor(ModuleKind kind) { return kind == ModuleKind::Full ? kRussian : kEnglish; }

}  // namespace korvex
