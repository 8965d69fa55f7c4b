#pragma once
#include <ostream>

#include "model/config_settings.h"

namespace korvex {

// Readable failure messages for EXPECT_EQ on settings (found by gtest through ADL).
inline void PrintTo(const ConfigSettings& s, std::ostream* os) {
    const auto text = [os](const std::string& t) {
        *os << '"';
        for (const char c : t) {
            const auto u = static_cast<unsigned char>(c);
            if (u >= 0x20 && u < 0x7F) {
                *os << c;
            } else {
                static const char* hex = "0123456789ABCDEF";
                *os << "\\x" << hex[u >> 4] << hex[u & 15];
            }
        }
        *os << "\" ";
    };
    *os << "\n phones: ";
    for (const auto& p : s.phones) text(p);
    *os << "\n texts: ";
    for (int n = 0; n < kTextSlots; ++n) {
        text(s.texts[n]);
        *os << (s.cyrillic[n] ? "ucs2/" : "gsm/") << s.textLimit[n] << ' ';
    }
    *os << "\n password: ";
    text(s.pgmPassword);
    *os << "object: ";
    text(s.objectName);
    *os << "smsc: ";
    text(s.smscNumber);
    *os << "\n test " << int{s.testSmsCode} << " pgm " << int{s.pgmSeconds} << " cycles " << int{s.autodialCycles}
        << " voice " << s.voiceAfterPickup << " com " << int{s.comSpeed} << " types";
    for (const bool t : s.zoneType) *os << ' ' << t;
    *os << "\n actions:";
    for (const auto& group : s.zoneActions) {
        *os << " |";
        for (const auto a : group) *os << ' ' << std::hex << int{a} << std::dec;
    }
    *os << "\n reports:";
    for (const auto& r : s.reportActions)
        *os << " {" << int{r.smsPhone} << ' ' << int{r.autodialPhone} << ' ' << int{r.reportTypeMask} << ' '
            << int{r.smsLayoutMask} << '}';
    *os << "\n zones: ";
    for (const auto& z : s.zoneNames) {
        text(z.name);
        *os << int{z.sound} << ' ';
    }
    *os << "\n partitions: ";
    for (const auto& z : s.partitionNames) {
        text(z.name);
        *os << int{z.sound} << ' ';
    }
    *os << "\n users: ";
    for (const auto& u : s.userNames) text(u);
}

}  // namespace korvex
