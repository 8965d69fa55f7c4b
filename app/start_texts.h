#pragma once
#include "link/profile.h"

namespace korvex {

// The words of a window program's command line (UTF-8): its --help and its
// refusals. Qt's own words ("Usage:", an unknown option) come from Qt's
// translation.
struct StartTexts {
    const char* description;
    const char* fileArgument;  // the name --help gives the project file
    const char* fileHelp;
    const char* helpOption;
    const char* versionOption;
    const char* oneFile;  // more than one file named
};

inline constexpr StartTexts kStartRussian{
    .description =
        "Конфигуратор модуля GSM-автодозвона: настройки, голосовые сообщения и журнал "
        "событий через COM-порт.",
    .fileArgument = "файл",
    .fileHelp = "Файл проекта (.rom), открываемый при запуске.",
    .helpOption = "Показать параметры командной строки.",
    .versionOption = "Показать версию программы.",
    .oneFile = "Можно открыть только один файл проекта.",
};

inline constexpr StartTexts kStartEnglish{
    .description =
        "Configurator of the compact GSM auto-dialer module: settings and voice messages "
        "over a serial port.",
    .fileArgument = "file",
    .fileHelp = "The project file (.rom) to open at start.",
    .helpOption = "Show the command line's options.",
    .versionOption = "Show the program's version.",
    .oneFile = "Only one project file can be opened.",
};

inline const StartTexts& StartTextsFor(ModuleKind kind) {
    return kind == ModuleKind::Full ? kStartRussian : kStartEnglish;
}

}  // namespace korvex
