#pragma once
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "app/app_model.h"
#include "log/log_rows.h"

class QIODevice;
class QPainter;
class QPaintDevice;
class QWidget;

namespace korvex {

// The as-commissioned report of the settings being edited: the program
// version of the image last read, today's date, the project file, the voice
// slots and, where given, the log rows as listed.
struct Report {
    QString html;                        // a browser's page, its foot line at the end
    QString pagedHtml;                   // the same without it, for pages that draw their own
    QString foot;                        // the project and module line at each page's foot
    ModuleKind kind = ModuleKind::Full;  // the words of the page number
};
Report MakeReport(const AppModel& model, const std::vector<LogRow>& log);

// Paints the report on pages of the device's size, the foot line and the
// page number under each; `newPage` ends a page and starts the next (the
// painter may be ended and begun again in it). Returns the page count.
int PaintReportPages(const Report& report, QPaintDevice& device, QPainter& painter,
                     const std::function<void()>& newPage);

// Lays the report out on A4 pages into a PDF. Returns the page count.
int WriteReportPdf(const Report& report, QIODevice& out);

// Saves the report as HTML or PDF (by the name's suffix) whole or not at
// all; the error text, or nothing.
std::optional<QString> SaveReport(const Report& report, const QString& path);

// The File menu's "Report...": save as HTML, as PDF, or print; failures are
// told through the model's dialogs.
void ShowReportChooser(AppModel& model, const std::vector<LogRow>& log, QWidget* parent);

}  // namespace korvex
