#include "sim/demo.h"

#include <algorithm>
#include <vector>

#include "voice/voice_demo.h"
#include "log/log_demo.h"
#include "log/log_record.h"
#include "model/cp1251.h"
#include "model/image_codec.h"

namespace korvex {
namespace {

std::string Cp1251(std::string_view utf8) { return Utf8ToCp1251(utf8).bytes; }

}  // namespace

ConfigSettings DemoSettings(const Profile& profile) {
    ConfigSettings s;
    s.phones[0] = "+79161234567";
    s.phones[1] = "+79037654321";
    s.phones[2] = "-84951112233";
    s.texts[0] = "Trevoga! Zona 1";
    s.texts[1] = "Trevoga! Zona 2";
    s.texts[2] = "Trevoga! Zona 3";
    s.texts[3] = "Test OK";
    s.texts[4] = Cp1251("Пожар на складе");
    s.cyrillic[4] = true;
    for (int i = 0; i < kTextSlots; ++i) s.textLimit[i] = TextLimit(s.cyrillic[i]);
    s.smscNumber = "+79168999100";
    s.pgmPassword = "1234";
    s.pgmSeconds = 5;
    s.autodialCycles = 5;
    s.testSmsCode = 12;  // daily at noon
    s.voiceAfterPickup = true;
    s.zoneType = {false, true, false, false};
    // Zone n: SMS text n to phones 1 and 2, then a call to phone 1 with sound 1.
    for (int zone = 0; zone < 3; ++zone) {
        const auto text = static_cast<std::uint8_t>((zone + 1) << 4);
        s.zoneActions[zone] = {static_cast<std::uint8_t>(text | 1), static_cast<std::uint8_t>(text | 2), 0, 0,
                               0x11, 0, 0, 0};
    }
    s.zoneActions[3] = {0x41, 0, 0, 0, 0, 0, 0, 0};  // test SMS: text 4 to phone 1
    if (profile.kind == ModuleKind::Full) {
        s.objectName = "Sklad 3";
        s.reportActions[0] = {1, 2, 0x1F, 0x07};
        s.reportActions[1] = {3, 0, 0x04, 0x23};
        s.zoneNames[0] = {"Vhod", 1};
        s.zoneNames[1] = {"Okno", 2};
        s.zoneNames[2] = {Cp1251("Склад"), 0};
        s.partitionNames[0] = {"Ofis", 0};
        s.userNames[0] = "Ivanov";
        s.userNames[1] = "Petrov";
    }
    return s;
}

std::array<std::uint8_t, 32768> MakeDemoMemory(const Profile& profile) {
    std::array<std::uint8_t, 32768> memory;
    memory.fill(0xFF);

    std::vector<std::uint8_t> readImage(profile.imageSize, 0);
    if (profile.kind == ModuleKind::Full) {
        const std::uint8_t versionAndType[8] = {'1', '.', '0', '4', kDeviceTypeSignature[0], kDeviceTypeSignature[1],
                                                kDeviceTypeSignature[2], kDeviceTypeSignature[3]};
        std::copy(std::begin(versionAndType), std::end(versionAndType), readImage.begin() + 16);
    }
    ConfigSettings settings = DemoSettings(profile);
    std::vector<std::uint8_t> image(profile.imageSize, 0);
    PackImage(profile, settings, readImage, image, Date{2026, 1, 15});
    std::copy(image.begin(), image.end(), memory.begin());

    if (profile.hasLog) {
        const LogBytes log = DemoLogArea();
        std::copy(log.begin(), log.end(), memory.begin() + kLogAddress);
    }
    PutDemoVoice(profile, memory);
    return memory;
}

}  // namespace korvex
