#pragma once
#include <vector>

#include "model/settings_rows.h"
#include "voice/voice_store.h"

namespace korvex {

// One row per voice slot as the File page names it ("Звук 1", "# 1"): its
// length in bytes and how long it plays, "12000 байт, 4.4 с".
std::vector<SettingRow> DescribeVoice(const VoiceStore& voice);

// The settings' differences (CompareSettings), then the voice slots' where
// both sides have a voice directory.
std::vector<DiffRow> CompareModule(const ConfigSettings& left, const VoiceStore* leftVoice,
                                   const ConfigSettings& right, const VoiceStore* rightVoice, const Profile& profile);

// A slot's playing time in tenths of a second: eight samples a byte at its
// rate; 0 where no rate is known.
int SlotTenths(std::uint16_t length, std::uint16_t rate);

}  // namespace korvex
