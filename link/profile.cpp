#include "link/profile.h"

namespace korvex {
namespace {

// 15 printable characters and a line feed.
constexpr std::uint8_t kFullMarker[16] = {'K', 'O', 'R', 'V', 'E', 'X', ' ', 'G', 'S', 'M', '-', 'D', 'I', 'A', 'L', '\n'};

// Three CR LF lines making 64 bytes.
constexpr char kCompactMarkerText[] =
    "TAMLO GSM AUTODIALER\r\n"
    "4 ZONES CONFIGURATION MEMORY\r\n"
    "MAP REV 01\r\n";
static_assert(sizeof kCompactMarkerText - 1 == 64);
constexpr auto MakeCompactMarker() {
    struct M { std::uint8_t b[64]; } m{};
    for (int i = 0; i < 64; ++i) m.b[i] = static_cast<std::uint8_t>(kCompactMarkerText[i]);
    return m;
}
constexpr auto kCompactMarker = MakeCompactMarker();

constexpr Profile kFull{
    .kind = ModuleKind::Full,
    .name = "full",
    .imageSize = 1120,
    .marker = kFullMarker,
    .checksType = true,
    .nackKeepsLastByte = false,
    .writeFrom = 24,
    .verifyFrom = 24,
    .verifyEnd = 1120,
    .readBarMax = 1120,
    .writeBarMax = 1120,
    .verifyBarMax = 1120,
    .readBarStep = 10,
    .writeBarStep = 10,
    .verifyBarStep = 16,
    .wholePageConfigWrite = false,
    .slotCount = 6,
    .directoryAddress = 1120,
    .directoryEntries = 6,
    .directoryEntrySize = 5,
    .directoryFiller = 0,
    .voiceStart = 2048,
    .capacity = 30720,
    .codecStep = 5,
    .wavBufferSize = 262144,
    .wholePageSlots = false,
    .playWaitsForEnd = false,
    .textCount = 6,
    .hasLog = true,
    .language = Language::Russian,
    .texts =
        {
            .readingConfig = "Чтение конфигурации...",
            .writingConfig = "Запись конфигурации...",
            .checkingConfig = "Проверка конфигурации...",
            .readingSound = "Чтение звукового сообщения № ",
            .writingSound = "Запись звукового сообщения № ",
            .checkingSound = "Проверка звукового сообщения № ",
            .notConnected = "Устройство не подключено",
            .unknownType = "Неизвестный тип устройства",
            .writeError = "Ошибка записи!",
            .portNotOpened = "COM порт не открыт!",
            .byteRefused = "Память модуля не приняла байт по адресу",
            .writeCycleTimeout = "Память модуля не закончила запись за 70 мс, адрес",
            .cableCannotRead = "Этот кабель не может читать модуль: CTS не следует за RTS",
            .otherProgram = "В модуле метка программы Tamlo: это компактный модуль, Korvex с ним не работает. "
                            "В модуль ничего не записано.",
            .damagedMarker = "Метка модуля повреждена: по адресу 0 нет ни метки Korvex, ни метки Tamlo. "
                             "В модуль ничего не записано.",
        },
};

constexpr Profile kCompact{
    .kind = ModuleKind::Compact,
    .name = "compact",
    .imageSize = 768,
    .marker = kCompactMarker.b,
    .checksType = false,
    .nackKeepsLastByte = true,
    .writeFrom = 0,
    .verifyFrom = 0,
    .verifyEnd = 766,
    .readBarMax = 766,
    .writeBarMax = 768,
    .verifyBarMax = 766,
    .readBarStep = 1,
    .writeBarStep = 1,
    .verifyBarStep = 1,
    .wholePageConfigWrite = true,
    .slotCount = 3,
    .directoryAddress = 768,
    .directoryEntries = 4,
    .directoryEntrySize = 4,
    .directoryFiller = 47,
    .voiceStart = 832,
    .capacity = 32000,
    .codecStep = 7,
    .wavBufferSize = 256100,
    .wholePageSlots = true,
    .playWaitsForEnd = true,
    .textCount = 8,
    .hasLog = false,
    .language = Language::English,
    .texts =
        {
            .readingConfig = "Reading configuration...",
            .writingConfig = "Write configuration...",
            .checkingConfig = "Checking configuration...",
            .readingSound = "Reading audio message № ",
            .writingSound = "Audio message record № ",
            .checkingSound = "Checking audio message № ",
            .notConnected = "Device is not connected!",
            .unknownType = "",
            .writeError = "Write error!",
            .portNotOpened = "COM port is not opened",
            .byteRefused = "The module's memory refused the byte at address",
            .writeCycleTimeout = "The module's memory did not finish writing within 70 ms, address",
            .cableCannotRead = "This cable cannot read the module back: CTS does not follow RTS",
            .otherProgram = "The module carries the marker of Korvex: it is a full module, which Tamlo does not "
                            "serve. Nothing was written to the module.",
            .damagedMarker = "The module's marker is damaged: address 0 holds neither the marker of Tamlo nor that "
                             "of Korvex. Nothing was written to the module.",
        },
};

// Each text above in the other language.
constexpr LinkTexts kFullEnglishTexts{
    .readingConfig = "Reading the configuration...",
    .writingConfig = "Writing the configuration...",
    .checkingConfig = "Checking the configuration...",
    .readingSound = "Reading sound message № ",
    .writingSound = "Writing sound message № ",
    .checkingSound = "Checking sound message № ",
    .notConnected = "The device is not connected",
    .unknownType = "Unknown device type",
    .writeError = "Write error!",
    .portNotOpened = "The COM port is not open!",
    .byteRefused = "The module's memory refused the byte at address",
    .writeCycleTimeout = "The module's memory did not finish writing within 70 ms, address",
    .cableCannotRead = "This cable cannot read the module: CTS does not follow RTS",
    .otherProgram =
        "The module carries the marker of Tamlo: it is a compact module, which Korvex does not serve. "
        "Nothing was written to the module.",
    .damagedMarker =
        "The module's marker is damaged: address 0 holds neither the marker of Korvex nor that of "
        "Tamlo. Nothing was written to the module.",
};

constexpr LinkTexts kCompactRussianTexts{
    .readingConfig = "Чтение конфигурации...",
    .writingConfig = "Запись конфигурации...",
    .checkingConfig = "Проверка конфигурации...",
    .readingSound = "Чтение звукового сообщения № ",
    .writingSound = "Запись звукового сообщения № ",
    .checkingSound = "Проверка звукового сообщения № ",
    .notConnected = "Устройство не подключено!",
    .unknownType = "",
    .writeError = "Ошибка записи!",
    .portNotOpened = "COM порт не открыт",
    .byteRefused = "Память модуля не приняла байт по адресу",
    .writeCycleTimeout = "Память модуля не закончила запись за 70 мс, адрес",
    .cableCannotRead = "Этот кабель не может прочитать модуль: CTS не следует за RTS",
    .otherProgram =
        "В модуле метка программы Korvex: это полный модуль, Tamlo с ним не работает. "
        "В модуль ничего не записано.",
    .damagedMarker =
        "Метка модуля повреждена: по адресу 0 нет ни метки Tamlo, ни метки Korvex. "
        "В модуль ничего не записано.",
};

constexpr Profile Speaking(Profile profile, Language language, LinkTexts texts) {
    profile.language = language;
    profile.texts = texts;
    return profile;
}

constexpr Profile kFullEnglish = Speaking(kFull, Language::English, kFullEnglishTexts);
constexpr Profile kCompactRussian = Speaking(kCompact, Language::Russian, kCompactRussianTexts);

}  // namespace

Language DefaultLanguage(ModuleKind kind) { return kind == ModuleKind::Full ? Language::Russian : Language::English; }

const Profile& FullProfile() { return kFull; }
const Profile& CompactProfile() { return kCompact; }
const Profile& ProfileFor(ModuleKind kind) { return kind == ModuleKind::Full ? kFull : kCompact; }

const Profile& ProfileFor(ModuleKind kind, Language language) {
    if (kind == ModuleKind::Full) return language == Language::Russian ? kFull : kFullEnglish;
    return language == Language::English ? kCompact : kCompactRussian;
}

}  // namespace korvex
