#pragma once

namespace korvex {

// The words of the full program's main window (UTF-8).
struct FrameTexts {
    const char* title;
    const char* fileMenu;
    const char* open;
    const char* save;
    const char* exit;
    const char* exitPrompt;
    const char* viewMenu;
    const char* toolbar;
    const char* statusBar;
    const char* fastTransfer;
    const char* fastTransferPrompt;
    const char* helpMenu;
    const char* manual;
    const char* manualTip;
    const char* about;
    const char* aboutTip;
    const char* ready;
    const char* aboutCaption;
    const char* aboutText;
    // Closing with unsaved edits; %1 is the project file's name.
    const char* askSaveFile;
    const char* askSaveNew;
    const char* discard;
    // A sound loaded and not written to the module, before it is lost.
    const char* askSound;
    const char* dropSound;
    const char* cancel;
    // Tooltip and status prompt of each page button, by page number 1..8.
    const char* pageTips[8];
};

inline constexpr FrameTexts kFrameRussian{
    .title = "Конфигуратор сотового автодозвона",
    .fileMenu = "&Файл",
    .open = "&Открыть...",
    .save = "&Сохранить...",
    .exit = "В&ыход",
    .exitPrompt = "Выход из программы",
    .viewMenu = "&Вид",
    .toolbar = "Панели &инструментов",
    .statusBar = "Полоса &статуса",
    .fastTransfer = "&Быстрый обмен",
    .fastTransferPrompt = "Обмен без лишних вызовов и ожиданий; те же байты в модуле",
    .helpMenu = "&?",
    .manual = "&Руководство пользователя",
    .manualTip = "Руководство пользователя (F1)",
    .about = "&О программе ...",
    .aboutTip = "О программе",
    .ready = "Готов",
    .aboutCaption = "О программе ...",
    .aboutText = "Конфигуратор сотового автодозвона\n\nВерсия 1.04",
    .askSaveFile = "Конфигурация изменена. Сохранить изменения в файле «%1»?",
    .askSaveNew = "Изменения конфигурации не сохранены в файле проекта. Сохранить их?",
    .discard = "Не сохранять",
    .askSound = "Загруженный звук не записан в модуль («Записать звук») и будет потерян. Продолжить без него?",
    .dropSound = "Отказаться от звука",
    .cancel = "Отмена",
    .pageTips = {"Файл", "Свойства", "Сообщения", "Телефоны", "Зоны", "Журнал", "Обозначения", "Коммуникатор"},
};

}  // namespace korvex
