#pragma once
#include "link/profile.h"

namespace korvex {

// Words of the Phones page (UTF-8).
struct PhonesTexts {
    const char* numberLabel;   // followed by the row number 1..8
    const char* international;  // caption of the box left of each number
};

const PhonesTexts& PhonesTextsFor(ModuleKind kind);

}  // namespace korvex
