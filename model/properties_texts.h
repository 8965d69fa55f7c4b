#pragma once
#include <array>

#include "link/profile.h"

namespace korvex {

// Words of the Properties page (UTF-8). A null label means the module has
// no such setting and the page no such row.
struct PropertiesTexts {
    const char* objectName;   // null: no object name
    const char* password;
    const char* duration;
    const char* trigger;
    const char* smsc;
    const char* smscPrefix;   // the fixed mark before the SMS centre digits
    const char* cycles;
    const char* testSms;
    std::array<const char*, 9> testSmsPeriods;
    const char* hourBefore;   // left of the hour edit
    const char* hourAfter;    // right of it
    const char* voice;
    std::array<const char*, 2> voiceTimings;  // after pick-up, at once
    const char* comSpeed;     // null: no COM speed choice
    std::array<const char*, 5> comSpeeds;
};

const PropertiesTexts& PropertiesTextsFor(ModuleKind kind);

}  // namespace korvex
