#include "pages/report_export.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPainter>
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
constexpr qreal kFootPoints = 8;

QString Utf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

Report MakeReport(const AppModel& model, const std::vector<LogRow>& log) {
    const ReportInput input{.profile = model.profile,
                            .settings = model.settings,
                            .programVersion = ProgramVersionOf(model.readImage, model.profile),
                            .date = Today(),
                            .voice = model.soundLoaded ? &model.voice : nullptr,
                            .log = log,
                            .project = QFileInfo(model.project.File()).fileName().toStdString()};
    return {Utf8(RenderReportHtml(input, ReportForm::Browser)), Utf8(RenderReportHtml(input, ReportForm::Paged)),
            Utf8(ReportFoot(input)), model.profile.kind};
}

int PaintReportPages(const Report& report, QPaintDevice& device, QPainter& painter,
                     const std::function<void()>& newPage) {
    QTextDocument document;
    // Point sizes measured at the device's resolution, not the screen's.
    document.documentLayout()->setPaintDevice(&device);
    document.setHtml(report.pagedHtml);
    QFont footFont = document.defaultFont();
    footFont.setPointSizeF(kFootPoints);
    const QFontMetricsF foot(footFont, &device);
    const QSizeF area(device.width(), device.height());
    // The foot takes up to two lines; the body stops a blank line above it.
    constexpr int kFootLines = 2;
    const qreal bodyHeight = area.height() - (kFootLines + 1) * foot.height();
    document.setPageSize(QSizeF(area.width(), bodyHeight));
    const int pages = document.pageCount();
    for (int page = 0; page < pages; ++page) {
        if (page > 0) newPage();
        painter.save();
        const QRectF body(0, page * bodyHeight, area.width(), bodyHeight);
        painter.translate(0, -body.top());
        painter.setClipRect(body);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = body;
        document.documentLayout()->draw(&painter, context);
        painter.restore();

        const QString number = Utf8(ReportPageNumber(report.kind, page + 1, pages));
        const qreal room = area.width() - foot.horizontalAdvance(number) - foot.averageCharWidth() * 4;
        const QRectF text(0, area.height() - kFootLines * foot.height(), room, kFootLines * foot.height());
        const QRectF line(0, area.height() - foot.height(), area.width(), foot.height());
        painter.setFont(footFont);
        painter.setPen(Qt::darkGray);
        painter.drawText(text, Qt::AlignLeft | Qt::AlignBottom | Qt::TextWordWrap, report.foot);
        painter.drawText(line, Qt::AlignRight | Qt::AlignBottom, number);
    }
    return pages;
}

int WriteReportPdf(const Report& report, QIODevice& out) {
    QPdfWriter writer(&out);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setResolution(kPdfResolution);
    writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    QPainter painter;
    if (!painter.begin(&writer)) return 0;
    return PaintReportPages(report, writer, painter, [&writer] { writer.newPage(); });
}

std::optional<QString> SaveReport(const Report& report, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return file.errorString();
    if (path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) WriteReportPdf(report, file);
    else file.write(report.html.toUtf8());
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

    const Report report = MakeReport(model, log);
    if (choice == kPrint) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageSize(QPageSize(QPageSize::A4));
        QPrintDialog dialog(&printer, parent);
        if (dialog.exec() != QDialog::Accepted) return;
        QPainter painter;
        if (painter.begin(&printer)) PaintReportPages(report, printer, painter, [&printer] { printer.newPage(); });
        return;
    }
    const bool pdf = choice == kPdf;
    const QString path = model.dialogs->SaveFileName(parent, QString::fromUtf8(texts.reportTitle),
                                                     QString::fromUtf8(pdf ? texts.pdfFilter : texts.htmlFilter),
                                                     pdf ? QStringLiteral("pdf") : QStringLiteral("html"));
    if (path.isEmpty()) return;
    if (const std::optional<QString> error = SaveReport(report, path)) {
        model.dialogs->Message(parent, QMessageBox::Critical,
                               QString::fromUtf8(texts.cannotWriteFile) + QStringLiteral(": \"") + path +
                                   QStringLiteral("\" (") + *error + QStringLiteral(")"));
        return;
    }
    model.dialogs->FileUsed(path);
}

}  // namespace korvex
