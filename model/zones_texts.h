#pragma once
#include <array>

#include "link/profile.h"

namespace korvex {

// Words of the Zones page (UTF-8).
struct ZonesTexts {
    const char* groupsBox;
    std::array<const char*, 4> groups;  // zones 1..3, test SMS
    const char* actionsBox;
    const char* actionLabel;            // followed by the action number 1..4
    const char* smsBox;
    const char* phoneLabel;
    const char* smsLabel;
    const char* autodialBox;
    const char* soundLabel;
    const char* zoneTypeBox;
    const char* alarmLabel;
    std::array<const char*, 2> alarmConditions;  // short circuit, break
    const char* none;                   // first item of every action list
    const char* phoneItem;              // followed by the phone or sound number
    const char* textItem;               // followed by the text number
};

const ZonesTexts& ZonesTextsFor(ModuleKind kind);

}  // namespace korvex
