#pragma once
#include <QString>
#include <optional>
#include <vector>

#include "app/app_model.h"
#include "log/log_rows.h"

class QIODevice;
class QWidget;

namespace korvex {

// The as-commissioned report of the settings being edited: the program
// version of the image last read, today's date, the voice slots and, where
// given, the log rows as listed.
QString ReportHtml(const AppModel& model, const std::vector<LogRow>& log);

// Lays the HTML out on A4 pages into a PDF. Returns the page count.
int WriteReportPdf(const QString& html, QIODevice& out);

// Saves the report as HTML or PDF (by the name's suffix) whole or not at
// all; the error text, or nothing.
std::optional<QString> SaveReport(const QString& html, const QString& path);

// The File menu's "Report...": save as HTML, as PDF, or print; failures are
// told through the model's dialogs.
void ShowReportChooser(AppModel& model, const std::vector<LogRow>& log, QWidget* parent);

}  // namespace korvex
