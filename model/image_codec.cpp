#include "model/image_codec.h"

#include <algorithm>
#include <array>
#include <stdexcept>

#include "model/cp1251.h"
#include "model/field_codecs.h"
#include "model/image_layout.h"

namespace korvex {
namespace {

template <std::size_t N, typename T>
std::span<T, N> Field(std::span<T> image, std::size_t offset) {
    return std::span<T, N>(image.data() + offset, N);
}

bool HasFullFields(const Profile& profile) {
    return profile.kind == ModuleKind::Full && profile.imageSize >= layout::kFullImageSize;
}

// Text records the profile's image holds, never more than the slots.
int TextRecords(const Profile& profile) {
    const int fit = profile.imageSize > layout::kTexts
                        ? static_cast<int>((profile.imageSize - layout::kTexts) / layout::kTextRecordSize)
                        : 0;
    return std::clamp(profile.textCount, 0, std::min(kTextSlots, fit));
}

std::size_t ImageSize(const Profile& profile) { return std::min(profile.imageSize, layout::kMaxImageSize); }

}  // namespace

void UnpackImage(const Profile& profile, std::span<const std::uint8_t> readImage, ConfigSettings& settings) {
    // A zero-padded copy, so that a short image decodes as its layout says.
    std::array<std::uint8_t, layout::kMaxImageSize> buffer{};
    std::copy_n(readImage.begin(), std::min(readImage.size(), ImageSize(profile)), buffer.begin());
    const std::span<const std::uint8_t> image(buffer.data(), ImageSize(profile));

    settings.smscNumber = UnpackSmsc(Field<16>(image, layout::kSmsc));
    for (int n = 0; n < kPhoneCount; ++n) settings.phones[n] = UnpackPhone(Field<16>(image, layout::PhoneOffset(n)));

    settings.texts.fill({});
    settings.cyrillic.fill(false);
    for (int n = 0; n < TextRecords(profile); ++n) {
        UnpackedText text = UnpackText(Field<64>(image, layout::TextOffset(n)));
        settings.texts[n] = std::move(text.text);
        settings.cyrillic[n] = text.cyrillic;
    }
    for (int n = 0; n < kTextSlots; ++n) settings.textLimit[n] = TextLimit(settings.cyrillic[n]);

    settings.pgmPassword = UnpackPassword(Field<10>(image, layout::kPassword));
    settings.pgmSeconds = image[layout::kPgmSeconds];
    settings.testSmsCode = image[layout::kTestSms];

    const std::uint8_t types = image[layout::kZoneTypes];
    for (int g = 0; g < kZoneGroups; ++g) settings.zoneType[g] = (types >> (4 + g)) & 1;
    settings.voiceAfterPickup = types & 1;
    for (int g = 0; g < kZoneGroups; ++g) {
        for (int i = 0; i < kActionsPerGroup; ++i)
            settings.zoneActions[g][i] = UnpackActionByte(image[layout::kZoneActions + kActionsPerGroup * g + i]);
    }

    settings.autodialCycles = static_cast<std::uint8_t>((image[layout::kAutodialCycles] & 7) + 3);

    if (!HasFullFields(profile)) return;
    for (int n = 0; n < kZoneNames; ++n)
        settings.zoneNames[n] = UnpackNameRecord(Field<11>(image, layout::kZoneNames + layout::kNameRecordSize * n));
    for (int n = 0; n < kPartitionNames; ++n) {
        settings.partitionNames[n] =
            UnpackNameRecord(Field<11>(image, layout::kPartitionNames + layout::kNameRecordSize * n));
    }
    for (int n = 0; n < kUserNames; ++n)
        settings.userNames[n] = UnpackUserName(Field<10>(image, layout::kUserNames + layout::kUserNameSize * n));
    settings.reportActions = UnpackReportActions(Field<16>(image, layout::kReports));
    settings.objectName = UnpackObjectName(Field<24>(image, layout::kObjectName));
}

std::array<std::uint8_t, 4> DateBytes(Date date) {
    return {static_cast<std::uint8_t>((date.year >> 8) & 0xFF), static_cast<std::uint8_t>(date.year & 0xFF),
            static_cast<std::uint8_t>(date.month), static_cast<std::uint8_t>(date.day)};
}

void PackImage(const Profile& profile, ConfigSettings& settings, std::span<const std::uint8_t> readImage,
               std::span<std::uint8_t> writeImage, Date today) {
    const std::size_t size = ImageSize(profile);
    if (writeImage.size() < size) throw std::length_error("PackImage: writeImage is smaller than the image");

    // 1, 2: zeros, marker; the full image keeps version and signature and gets the date.
    std::fill(writeImage.begin(), writeImage.end(), std::uint8_t{0});
    const std::span<std::uint8_t> image = writeImage.first(size);
    std::copy_n(profile.marker.begin(), std::min(profile.marker.size(), size), image.begin());
    const bool full = HasFullFields(profile);
    if (full) {
        for (std::size_t i = layout::kVersion; i < layout::kObjectName && i < readImage.size(); ++i)
            image[i] = readImage[i];
        const auto date = DateBytes(today);
        std::copy(date.begin(), date.end(), image.begin() + layout::kDate);
    }

    // 3: zone types, then the compacted action table; the test SMS group has no autodial.
    image[layout::kZoneTypes] = static_cast<std::uint8_t>(
        (settings.voiceAfterPickup ? 1 : 0) | (settings.zoneType[0] ? 16 : 0) | (settings.zoneType[1] ? 32 : 0) |
        (settings.zoneType[2] ? 64 : 0) | (settings.zoneType[3] ? 128 : 0));
    for (int g = 0; g < kZoneGroups; ++g) {
        auto& group = settings.zoneActions[g];
        CompactActions(std::span<std::uint8_t, 4>(group.data(), 4));
        CompactActions(std::span<std::uint8_t, 4>(group.data() + 4, 4));
        for (int i = 0; i < kActionsPerGroup; ++i)
            image[layout::kZoneActions + kActionsPerGroup * g + i] = PackActionByte(group[i]);
    }
    std::fill_n(image.begin() + layout::kTestSmsAutodial, 4, std::uint8_t{0xFF});

    // 4 to 8.
    const int texts = TextRecords(profile);
    for (int n = 0; n < texts; ++n)
        PackText(settings.texts[n], settings.cyrillic[n], Field<64>(image, layout::TextOffset(n)));
    for (int n = 0; n < kPhoneCount; ++n) PackPhone(settings.phones[n], Field<16>(image, layout::PhoneOffset(n)));
    PackSmsc(settings.smscNumber, Field<16>(image, layout::kSmsc));
    PackPassword(settings.pgmPassword, Field<10>(image, layout::kPassword));
    image[layout::kPgmSeconds] = settings.pgmSeconds;
    image[layout::kTestSms] = settings.testSmsCode;
    image[layout::kAutodialCycles] = static_cast<std::uint8_t>(settings.autodialCycles - 3);

    // 9: the full module's names, object name and reports.
    if (full) {
        for (int n = 0; n < kZoneNames; ++n) {
            PackNameRecord(settings.zoneNames[n],
                           Field<11>(image, layout::kZoneNames + layout::kNameRecordSize * n));
        }
        for (int n = 0; n < kPartitionNames; ++n) {
            PackNameRecord(settings.partitionNames[n],
                           Field<11>(image, layout::kPartitionNames + layout::kNameRecordSize * n));
        }
        for (int n = 0; n < kUserNames; ++n)
            PackUserName(settings.userNames[n], Field<10>(image, layout::kUserNames + layout::kUserNameSize * n));
        PackObjectName(settings.objectName, Field<24>(image, layout::kObjectName));
        PackReportActions(settings.reportActions, Field<16>(image, layout::kReports));
    }

    // 10: the UCS-2 flag of each text record, last.
    for (int n = 0; n < texts; ++n) {
        std::uint8_t& head = image[layout::TextOffset(n)];
        head = settings.cyrillic[n] ? static_cast<std::uint8_t>(head | 0x80) : static_cast<std::uint8_t>(head & 0x7F);
    }
}

std::string ProgramVersion(std::span<const std::uint8_t> versionBytes) {
    std::string text;
    for (std::size_t i = 0; i < versionBytes.size() && i < layout::kVersionSize && versionBytes[i] != 0; ++i)
        text.push_back(static_cast<char>(versionBytes[i]));
    return Cp1251ToUtf8(text);
}

}  // namespace korvex
