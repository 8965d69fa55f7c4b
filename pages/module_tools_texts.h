#pragma once
#include "link/profile.h"

namespace korvex {

// Words of the comparison dialog and the report (UTF-8). The comparison's
// rows and "no differences" come from the core's report texts.
struct ModuleToolsTexts {
    const char* compare;          // the File page's button
    const char* compareTitle;     // the dialog's caption
    const char* take;             // takes the module's value for the selected rows
    const char* close;
    const char* report;           // the File menu entry (Korvex) or the File page's button (Tamlo)
    const char* reportTitle;      // caption of the report chooser
    const char* saveHtml;
    const char* savePdf;
    const char* print;
    const char* htmlFilter;
    const char* pdfFilter;
    const char* cannotWriteFile;  // followed by the file and the reason
    bool reportOnFilePage;        // Tamlo has no menu: the File page offers it
};

inline constexpr ModuleToolsTexts kModuleToolsRussian{
    .compare = "Сравнить с модулем",
    .compareTitle = "Сравнение с модулем",
    .take = "Взять из модуля",
    .close = "Закрыть",
    .report = "Отчёт...",
    .reportTitle = "Отчёт",
    .saveHtml = "Сохранить HTML...",
    .savePdf = "Сохранить PDF...",
    .print = "Печать...",
    .htmlFilter = "HTML (*.html)",
    .pdfFilter = "PDF (*.pdf)",
    .cannotWriteFile = "Не удалось записать файл",
    .reportOnFilePage = false,
};

inline constexpr ModuleToolsTexts kModuleToolsEnglish{
    .compare = "Compare with module",
    .compareTitle = "Comparison with the module",
    .take = "Take from module",
    .close = "Close",
    .report = "Report...",
    .reportTitle = "Report",
    .saveHtml = "Save HTML...",
    .savePdf = "Save PDF...",
    .print = "Print...",
    .htmlFilter = "HTML (*.html)",
    .pdfFilter = "PDF (*.pdf)",
    .cannotWriteFile = "Cannot write the file",
    .reportOnFilePage = true,
};

inline const ModuleToolsTexts& ModuleToolsTextsFor(ModuleKind kind) {
    return kind == ModuleKind::Full ? kModuleToolsRussian : kModuleToolsEnglish;
}

}  // namespace korvex
