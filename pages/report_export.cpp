#include "pages/report_export.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSaveFile>
#include <QAbstractTextDocumentLayout>
#include <QTextDocument>
#include <QVBoxLayout>

#include "model/clock.h"
#include "pages/module_tools_texts.h"
#include "report/report_html.h"

namespace korvex {

namespace {

constexpr int kPdfResolution = 300;  // dots per inch

}  // namespace

QString ReportHtml(const AppModel& model, const std::vector<LogRow>& log) {
    const std::string html = RenderReportHtml({.profile = model.profile,
                                               .settings = model.settings,
                                               .programVersion = ProgramVersionOf(model.readImage, model.profile),
                                               .date = Today(),
                                               .voice = model.soundLoaded ? &model.voice : nullptr,
                                               .log = log});
    return QString::fromUtf8(html.data(), static_cast<qsizetype>(html.size()));
}

int WriteReportPdf(const QString& html, QIODevice& out) {
    QPdfWriter writer(&out);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setResolution(kPdfResolution);
    writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    QTextDocument document;
    // Point sizes measured at the writer's resolution, not the screen's.
    document.documentLayout()->setPaintDevice(&writer);
    document.setHtml(html);
    // Laid out on the writer's printable area, so that the page count is
    // the one print() produces.
    document.setPageSize(writer.pageLayout().paintRectPixels(writer.resolution()).size());
    document.print(&writer);
    return document.pageCount();
}

std::optional<QString> SaveReport(const QString& html, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return file.errorString();
    if (path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) WriteReportPdf(html, file);
    else file.write(html.toUtf8());
    if (!file.commit()) return file.errorString();
    return std::nullopt;
}

void ShowReportChooser(AppModel& model, const std::vector<LogRow>& log, QWidget* parent) {
    const ModuleToolsTexts& texts = ModuleToolsTextsFor(model.profile.kind);
    QDialog chooser(parent);
    chooser.setObjectName("reportChooser");
    chooser.setWindowTitle(QString::fromUtf8(texts.reportTitle));
    auto* buttons = new QDialogButtonBox(Qt::Vertical, &chooser);
    enum Choice { kHtml = 1, kPdf, kPrint };
    const std::pair<const char*, Choice> entries[] = {{texts.saveHtml, kHtml}, {texts.savePdf, kPdf}, {texts.print, kPrint}};
    for (const auto& [text, choice] : entries) {
        QPushButton* button = buttons->addButton(QString::fromUtf8(text), QDialogButtonBox::ActionRole);
        QObject::connect(button, &QPushButton::clicked, &chooser, [&chooser, choice] { chooser.done(choice); });
    }
    buttons->addButton(QString::fromUtf8(texts.close), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &chooser, &QDialog::reject);
    (new QVBoxLayout(&chooser))->addWidget(buttons);
    const int choice = chooser.exec();
    if (choice != kHtml && choice != kPdf && choice != kPrint) return;

    const QString html = ReportHtml(model, log);
    if (choice == kPrint) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageSize(QPageSize(QPageSize::A4));
        QPrintDialog dialog(&printer, parent);
        if (dialog.exec() != QDialog::Accepted) return;
        QTextDocument document;
        document.setHtml(html);
        document.print(&printer);
        return;
    }
    const bool pdf = choice == kPdf;
    const QString path = model.dialogs->SaveFileName(parent, QString::fromUtf8(texts.reportTitle),
                                                     QString::fromUtf8(pdf ? texts.pdfFilter : texts.htmlFilter),
                                                     pdf ? QStringLiteral("pdf") : QStringLiteral("html"));
    if (path.isEmpty()) return;
    if (const std::optional<QString> error = SaveReport(html, path)) {
        model.dialogs->Message(parent, QMessageBox::Critical,
                               QString::fromUtf8(texts.cannotWriteFile) + QStringLiteral(": \"") + path +
                                   QStringLiteral("\" (") + *error + QStringLiteral(")"));
        return;
    }
    model.dialogs->FileUsed(path);
}

}  // namespace korvex
