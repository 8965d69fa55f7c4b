#include "report/voice_rows.h"

#include "model/page_names.h"
#include "report/report_texts.h"

namespace korvex {

int SlotTenths(std::uint16_t length, std::uint16_t rate) {
    if (rate == 0) return 0;
    return static_cast<int>((std::uint32_t{length} * 8u * 10u + rate / 2u) / rate);
}

std::vector<SettingRow> DescribeVoice(const VoiceStore& voice) {
    const Profile& profile = voice.GetProfile();
    const PageNames& pages = PageNamesFor(profile.kind);
    const ReportTexts& texts = ReportTextsFor(profile.kind);
    std::vector<SettingRow> rows;
    for (int slot = 0; slot < voice.SlotCount(); ++slot) {
        const std::uint16_t length = voice.slotLength[slot];
        std::string value = std::to_string(length) + " " + texts.bytes;
        if (const int tenths = SlotTenths(length, voice.slotRate[slot]); length != 0 && tenths != 0)
            value += ", " + std::to_string(tenths / 10) + texts.decimalPoint + std::to_string(tenths % 10) + " " + texts.seconds;
        rows.push_back({pages.file, pages.sound + std::to_string(slot + 1), std::move(value),
                        {SettingKind::VoiceSlot, slot}});
    }
    return rows;
}

std::vector<DiffRow> CompareModule(const ConfigSettings& left, const VoiceStore* leftVoice,
                                   const ConfigSettings& right, const VoiceStore* rightVoice, const Profile& profile) {
    std::vector<DiffRow> diff = CompareSettings(left, right, profile);
    if (!leftVoice || !rightVoice) return diff;
    const std::vector<SettingRow> a = DescribeVoice(*leftVoice);
    const std::vector<SettingRow> b = DescribeVoice(*rightVoice);
    for (std::size_t n = 0; n < a.size() && n < b.size(); ++n)
        if (a[n].value != b[n].value) diff.push_back({a[n].page, a[n].field, a[n].value, b[n].value, a[n].ref});
    return diff;
}

}  // namespace korvex
