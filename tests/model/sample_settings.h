#pragma once
#include <string>

#include "link/profile.h"
#include "model/config_settings.h"

namespace korvex::test {

// Settings with every field away from its start value and already in the
// form an image gives back: action lists compacted, no test SMS autodial
// actions, names and reports only where the profile's image has them.
inline ConfigSettings EveryField(const Profile& profile) {
    ConfigSettings s;
    s.phones = {"+79031234567", "-84951234567", "+", "-", "+1", "-12345678901234567890", "+555", "-0"};
    s.texts = {"Alarm zone 1 @ home $", "", "\xD2\xF0\xE5\xE2\xEE\xE3\xE0 \xA8\xB9", "Test",
               "\xCF\xE8\xF2\xE0\xED\xE8\xE5", "Zone 3 broken", "Text 7 compact", "\xD2\xE5\xEA\xF1\xF2 8"};
    s.cyrillic = {false, false, true, false, true, false, false, true};
    if (profile.textCount < kTextSlots) {
        for (int n = profile.textCount; n < kTextSlots; ++n) {
            s.texts[n].clear();
            s.cyrillic[n] = false;
        }
    }
    for (int n = 0; n < kTextSlots; ++n) s.textLimit[n] = TextLimit(s.cyrillic[n]);
    s.pgmPassword = "Secret1234";
    s.smscNumber = "+79168999100";
    s.testSmsCode = 0x86;
    s.pgmSeconds = 42;
    s.autodialCycles = 7;
    s.voiceAfterPickup = true;
    s.comSpeed = 4;
    s.zoneType = {true, false, true, true};
    s.zoneActions[0] = {0x11, 0x23, 0x35, 0x47, 0x18, 0x22, 0x33, 0};
    s.zoneActions[1] = {0x82, 0, 0, 0, 0x21, 0x32, 0, 0};
    s.zoneActions[2] = {0x66, 0x57, 0x48, 0, 0x14, 0, 0, 0};
    s.zoneActions[3] = {0x41, 0x52, 0, 0, 0, 0, 0, 0};
    if (profile.kind == ModuleKind::Full) {
        s.objectName = "Warehouse 7 / a@b.example";  // 24 bytes after the cut below
        s.objectName.resize(24);
        s.reportActions[0] = {1, 2, 0x7F, 0x07};
        s.reportActions[1] = {8, 0, 0x01, 0x30};
        s.reportActions[2] = {0, 5, 0x40, 0x20};
        for (int n = 0; n < kZoneNames; ++n)
            s.zoneNames[n] = {"Zone " + std::to_string(n + 1), static_cast<std::uint8_t>(n % 7)};
        for (int n = 0; n < kPartitionNames; ++n)
            s.partitionNames[n] = {"Part\xE8\xFF" + std::to_string(n + 1), static_cast<std::uint8_t>(6 - n % 7)};
        s.partitionNames[7].name = "0123456789";
        for (int n = 0; n < kUserNames; ++n) s.userNames[n] = "User " + std::to_string(n + 1);
        s.userNames[7] = "\xC8\xE2\xE0\xED\xEE\xE2 \xC8.\xC8";  // 10 bytes
    }
    return s;
}

}  // namespace korvex::test
