#pragma once
#include <string_view>

#include "link/profile.h"

namespace korvex {

// The File page's own words in the two programs. The module's messages
// (not connected, write error, WAV refusals…) come with the profile and the
// voice rules, a transfer's status line and port failures with
// TransferTexts (app/transfer_report.h); these are the page's labels and
// its file dialogs.
struct FilePageTexts {
    std::string_view port;  // the port list's name for a screen reader
    std::string_view openPort;
    std::string_view closePort;
    std::string_view demoModule;       // the simulated module in the port list
    std::string_view project;
    std::string_view projectSave;
    std::string_view projectOpen;
    std::string_view module;
    std::string_view readData;
    std::string_view writeData;
    std::string_view readSound;
    std::string_view writeSound;
    std::string_view versionLabel;     // empty: the page has no version field
    std::string_view sound;
    std::string_view slotPrefix;       // followed by the slot number
    std::string_view soundOpen;
    std::string_view playTip;
    // Play found no sound output: the status line and the button's tip.
    std::string_view noSoundOutput;
    std::string_view memory;
    std::string_view openProjectTitle;
    std::string_view saveProjectTitle;
    std::string_view projectFilter;
    std::string_view loadSoundTitle;
    std::string_view soundFilter;
    // File errors: the text, then the file, then the system's reason.
    std::string_view cannotOpenFile;
    std::string_view cannotReadFile;
    std::string_view cannotCreateFile;
    std::string_view cannotWriteFile;
    // A project file of another size: the text, the bytes loaded, `ofBytes`,
    // the bytes a project (a short file) or the file (a long one) holds.
    std::string_view shortProject;
    std::string_view longProject;
    std::string_view loadedBytes;
    std::string_view ofBytes;
    // The page's switch for the fast bus timing; empty where the window's
    // menu holds it instead.
    std::string_view fastTransfer;
    // The status line when the standard timing is chosen on a cable whose
    // status is cached: it says where the fast one is switched on.
    std::string_view cachedStatus;
    // The status line when the open port is an FTDI cable in bit-bang mode.
    std::string_view ftdiFast;
};

inline constexpr FilePageTexts kFilePageRussian{
    .port = "Порт",
    .openPort = "Открыть порт",
    .closePort = "Закрыть порт",
    .demoModule = "Демо-модуль",
    .project = "Проект",
    .projectSave = "Сохранить",
    .projectOpen = "Открыть",
    .module = "Модуль",
    .readData = "Считать данные",
    .writeData = "Записать данные",
    .readSound = "Считать звук",
    .writeSound = "Записать звук",
    .versionLabel = "Версия программы",
    .sound = "Звук",
    .slotPrefix = "Звук ",
    .soundOpen = "Открыть",
    .playTip = "Прослушать",
    .noSoundOutput = "Нет устройства вывода звука: прослушать звук нельзя",
    .memory = "Память",
    .openProjectTitle = "Загрузить конфигурацию из файла",
    .saveProjectTitle = "Сохранить Конфигурацию в файле",
    .projectFilter = "files (*.rom)",
    .loadSoundTitle = "Загрузить звуковой файл",
    .soundFilter = "files (*.wav *.flac *.ogg *.opus *.mp3)",
    .cannotOpenFile = "Не удалось открыть файл",
    .cannotReadFile = "Не удалось прочитать файл",
    .cannotCreateFile = "Не удалось создать файл",
    .cannotWriteFile = "Не удалось записать файл",
    .shortProject = "Файл короче проекта",
    .longProject = "Файл длиннее проекта",
    .loadedBytes = ": загружено ",
    .ofBytes = " байт из ",
    .fastTransfer = "",
    .cachedStatus =
        "Этот кабель сообщает состояние линий с опозданием: обычный обмен может прочитать байты неверно. "
        "Включите «Быстрый обмен» в меню «Вид».",
    .ftdiFast = "быстрый режим FTDI",
};

inline constexpr FilePageTexts kFilePageEnglish{
    .port = "Port",
    .openPort = "Open port",
    .closePort = "Close port",
    .demoModule = "Demo module",
    .project = "Project",
    .projectSave = "Save",
    .projectOpen = "Open",
    .module = "Module",
    .readData = "Read data",
    .writeData = "Write data",
    .readSound = "Read sound",
    .writeSound = "Write sound",
    .versionLabel = "",
    .sound = "Sound",
    .slotPrefix = "# ",
    .soundOpen = "Open",
    .playTip = "Play",
    .noSoundOutput = "No sound output device: the sound cannot be played",
    .memory = "Memory",
    .openProjectTitle = "Load configuration from the file",
    .saveProjectTitle = "Save configuration in file",
    .projectFilter = "files (*.rom)",
    .loadSoundTitle = "Load sound file",
    .soundFilter = "files (*.wav *.flac *.ogg *.opus *.mp3)",
    .cannotOpenFile = "Cannot open the file",
    .cannotReadFile = "Cannot read the file",
    .cannotCreateFile = "Cannot create the file",
    .cannotWriteFile = "Cannot write the file",
    .shortProject = "The file is shorter than a project",
    .longProject = "The file is longer than a project",
    .loadedBytes = ": loaded ",
    .ofBytes = " bytes of ",
    .fastTransfer = "Fast transfer",
    .cachedStatus =
        "This cable reports its lines late: the standard transfer may misread bytes. "
        "Tick \"Fast transfer\".",
    .ftdiFast = "FTDI fast mode",
};

inline const FilePageTexts& FilePageTextsFor(const Profile& profile) {
    return profile.kind == ModuleKind::Full ? kFilePageRussian : kFilePageEnglish;
}

}  // namespace korvex
