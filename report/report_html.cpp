#include "report/report_html.h"

#include <cstdio>

#include "model/image_codec.h"
#include "model/image_layout.h"
#include "model/settings_rows.h"
#include "report/report_texts.h"
#include "report/voice_rows.h"

namespace korvex {

namespace {

// Qt's rich text takes a subset of HTML and CSS: plain tables with border
// attributes print the same in a browser and through QTextDocument.
constexpr std::string_view kStyle =
    "body { font-family: sans-serif; font-size: 10pt; }\n"
    "h1 { font-size: 16pt; }\n"
    "h2 { font-size: 12pt; margin-top: 14pt; }\n"
    "table { border-collapse: collapse; }\n"
    "th { background-color: #e0e0e0; text-align: left; }\n"
    "td, th { padding: 2pt 6pt; }\n";

std::string DateText(const Date& date) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d.%02d.%04d", date.day % 100, date.month % 100, date.year % 10000);
    return buffer;
}

class Html {
public:
    void Raw(std::string_view text) { out_ += text; }
    void Text(std::string_view text) { out_ += EscapeHtml(text); }
    void Element(std::string_view tag, std::string_view text) {
        out_ += "<" + std::string(tag) + ">";
        Text(text);
        out_ += "</" + std::string(tag) + ">";
    }
    void TableStart() { Raw("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\">\n"); }
    void Row(std::initializer_list<std::string_view> cells, std::string_view tag = "td") {
        Raw("<tr>");
        for (std::string_view cell : cells) Element(tag, cell);
        Raw("</tr>\n");
    }
    void TableEnd() { Raw("</table>\n"); }
    std::string Take() { return std::move(out_); }

private:
    std::string out_;
};

}  // namespace

std::string ProgramVersionOf(std::span<const std::uint8_t> image, const Profile& profile) {
    if (profile.kind != ModuleKind::Full || image.size() <= layout::kVersion) return {};
    return ProgramVersion(image.subspan(layout::kVersion));
}

std::string EscapeHtml(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&': escaped += "&amp;"; break;
            case '<': escaped += "&lt;"; break;
            case '>': escaped += "&gt;"; break;
            case '"': escaped += "&quot;"; break;
            case '\'': escaped += "&#39;"; break;
            default: escaped += c;
        }
    }
    return escaped;
}

std::string RenderReportHtml(const ReportInput& input) {
    const ReportTexts& texts = ReportTextsFor(input.profile.kind);
    Html html;
    html.Raw("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">\n<title>");
    html.Text(texts.title);
    html.Raw("</title>\n<style>\n");
    html.Raw(kStyle);
    html.Raw("</style></head>\n<body>\n");
    html.Element("h1", texts.title);
    html.Raw("\n");
    html.TableStart();
    html.Row({texts.module, texts.moduleKind});
    if (!input.programVersion.empty()) html.Row({texts.version, input.programVersion});
    html.Row({texts.date, DateText(input.date)});
    html.TableEnd();

    const std::vector<SettingRow> rows = DescribeSettings(input.settings, input.profile);
    for (std::size_t n = 0; n < rows.size(); ++n) {
        if (n == 0 || rows[n].page != rows[n - 1].page) {
            if (n != 0) html.TableEnd();
            html.Element("h2", rows[n].page);
            html.Raw("\n");
            html.TableStart();
            html.Row({texts.field, texts.value}, "th");
        }
        html.Row({rows[n].field, rows[n].value});
    }
    if (!rows.empty()) html.TableEnd();

    if (input.voice) {
        html.Element("h2", texts.voiceHeading);
        html.Raw("\n");
        html.TableStart();
        html.Row({texts.field, texts.value}, "th");
        for (const SettingRow& row : DescribeVoice(*input.voice)) html.Row({row.field, row.value});
        html.TableEnd();
    }

    if (!input.log.empty()) {
        html.Element("h2", texts.logHeading);
        html.Raw("\n");
        html.TableStart();
        html.Raw("<tr>");
        for (std::string_view header : LogColumnHeaders()) html.Element("th", header);
        html.Raw("</tr>\n");
        for (const LogRow& row : input.log) {
            html.Raw("<tr>");
            for (const std::string& cell : row) html.Element("td", cell);
            html.Raw("</tr>\n");
        }
        html.TableEnd();
    }
    html.Raw("</body></html>\n");
    return html.Take();
}

}  // namespace korvex
