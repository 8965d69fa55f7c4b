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
    const char* about;
    const char* aboutTip;
    const char* ready;
    const char* aboutCaption;
    const char* aboutText;
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
    .about = "&О программе ...",
    .aboutTip = "О программе",
    .ready = "Готов",
    .aboutCaption = "О программе ...",
    .aboutText = "Конфигуратор сотового автодозвона\n\nВерсия 1.04",
    .pageTips = {"Файл", "Свойства", "Сообщения", "Телефоны", "Зоны", "Журнал", "Обозначения", "Коммуникатор"},
};

}  // namespace korvex
