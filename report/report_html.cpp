#include "report/report_html.h"

#include <algorithm>
#include <cstdio>
#include <map>

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
    // Qt takes cell padding in pixels only (points read as none).
    "td, th { padding: 2px 6px; }\n"
    "div.foot { font-size: 8pt; color: #555555; margin-top: 12pt; }\n"
    // Browsers repeat a fixed element on every printed sheet.
    "@media print { div.foot { position: fixed; bottom: 0; } }\n";

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
    // A heading row in <thead> is repeated at the top of every printed page.
    void HeadRow(std::initializer_list<std::string_view> cells) {
        Raw("<thead>");
        Row(cells, "th");
        Raw("</thead>\n");
    }
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

constexpr std::string_view kPathSeparator = " / ";

// The first step of a field's label path names its group: "Зона 1",
// "Действие №2", "#3".
std::string_view GroupOf(std::string_view field) { return field.substr(0, field.find(kPathSeparator)); }

struct ShownRow {
    std::string field;
    std::string value;
};

// A phone choice as the report shows it: "№2 (+79031234567)".
std::string WithNumber(const SettingRow& row, const std::map<int, std::string>& numbers, const ReportTexts& texts) {
    if (row.phone == 0 || row.value.empty()) return row.value;
    const auto number = numbers.find(row.phone);
    // "+" alone is a ticked box with no digits: no number to call.
    const bool known =
        number != numbers.end() && std::ranges::any_of(number->second, [](char c) { return c >= '0' && c <= '9'; });
    return row.value + " (" + (known ? number->second : std::string(texts.noNumber)) + ")";
}

// The off settings of one group in one line: each action or box whose
// settings are all off named once ("Действие №3"), the rest by their path.
ShownRow FoldOff(std::span<const SettingRow> group, const ReportTexts& texts) {
    const std::string_view name = GroupOf(group.front().field);
    const auto pathIn = [&](const SettingRow& row) {
        return row.field.size() > name.size() ? std::string_view(row.field).substr(name.size() + kPathSeparator.size())
                                              : std::string_view(row.field);
    };
    const auto allOff = [&](std::string_view prefix) {
        return std::ranges::all_of(group, [&](const SettingRow& row) {
            const std::string_view path = pathIn(row);
            return !(path.starts_with(prefix) && path.substr(prefix.size()).starts_with(kPathSeparator)) || row.off;
        });
    };
    std::vector<std::string> names;
    std::string value;
    bool oneValue = true;
    for (const SettingRow& row : group) {
        if (!row.off) continue;
        const std::string_view path = pathIn(row);
        std::string_view shown = path;
        for (std::size_t end = path.find(kPathSeparator); end != std::string_view::npos;
             end = path.find(kPathSeparator, end + 1)) {
            if (allOff(path.substr(0, end))) {
                shown = path.substr(0, end);
                break;
            }
        }
        if (std::ranges::find(names, shown) == names.end()) names.emplace_back(shown);
        if (value.empty()) value = row.value;
        oneValue = oneValue && row.value == value;
    }
    std::string field(name);
    field += ": ";
    for (std::size_t n = 0; n < names.size(); ++n) field += (n == 0 ? "" : "; ") + names[n];
    return {std::move(field), oneValue ? value : std::string(texts.off)};
}

// One page's rows as the report shows them.
std::vector<ShownRow> ShownRows(std::span<const SettingRow> page, const std::map<int, std::string>& numbers,
                                const ReportTexts& texts) {
    std::vector<ShownRow> shown;
    for (std::size_t begin = 0; begin < page.size();) {
        std::size_t end = begin + 1;
        while (end < page.size() && GroupOf(page[end].field) == GroupOf(page[begin].field)) ++end;
        const std::span<const SettingRow> group = page.subspan(begin, end - begin);
        const auto off = std::ranges::count_if(group, [](const SettingRow& row) { return row.off; });
        for (const SettingRow& row : group)
            if (off < 2 || !row.off) shown.push_back({row.field, WithNumber(row, numbers, texts)});
        if (off >= 2) shown.push_back(FoldOff(group, texts));
        begin = end;
    }
    return shown;
}

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

std::string ReportPageNumber(ModuleKind kind, int page, int pages) {
    std::string text = ReportTextsFor(kind).pageOf;
    text.replace(text.find("%1"), 2, std::to_string(page));
    text.replace(text.find("%2"), 2, std::to_string(pages));
    return text;
}

namespace {

std::string ObjectNameOf(const std::vector<SettingRow>& rows) {
    const auto object =
        std::ranges::find_if(rows, [](const SettingRow& row) { return row.ref.kind == SettingKind::ObjectName; });
    return object == rows.end() ? std::string() : object->value;
}

}  // namespace

std::string ReportFoot(const ReportInput& input) {
    const ReportTexts& texts = ReportTextsFor(input.profile.kind);
    std::string foot = std::string(texts.project) + ": " + (input.project.empty() ? texts.notSaved : input.project);
    foot += std::string(" \u00B7 ") + texts.module + ": " + texts.moduleKind;
    if (!input.programVersion.empty()) foot += std::string(" \u00B7 ") + texts.version + ": " + input.programVersion;
    const std::string object = ObjectNameOf(DescribeSettings(input.settings, input.profile));
    if (!object.empty()) foot += std::string(" \u00B7 ") + texts.object + ": " + object;
    return foot;
}

std::string RenderReportHtml(const ReportInput& input, ReportForm form) {
    const ReportTexts& texts = ReportTextsFor(input.profile.kind);
    const std::vector<SettingRow> rows = DescribeSettings(input.settings, input.profile);
    Html html;
    html.Raw("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">\n<title>");
    html.Text(texts.title);
    html.Raw("</title>\n<style>\n");
    html.Raw(kStyle);
    html.Raw("</style></head>\n<body>\n");
    html.Element("h1", texts.title);
    html.Raw("\n");
    html.TableStart();
    // Who and when first: the sheet a customer is handed starts with their object.
    if (const std::string object = ObjectNameOf(rows); !object.empty()) html.Row({texts.object, object});
    html.Row({texts.date, DateText(input.date)});
    html.Row({texts.module, texts.moduleKind});
    if (!input.programVersion.empty()) html.Row({texts.version, input.programVersion});
    html.Row({texts.project, input.project.empty() ? texts.notSaved : input.project});
    html.TableEnd();

    std::map<int, std::string> numbers;
    for (const SettingRow& row : rows)
        if (row.ref.kind == SettingKind::Phone) numbers[row.ref.index + 1] = row.value;
    for (std::size_t begin = 0; begin < rows.size();) {
        std::size_t end = begin + 1;
        while (end < rows.size() && rows[end].page == rows[begin].page) ++end;
        html.Element("h2", rows[begin].page);
        html.Raw("\n");
        html.TableStart();
        html.HeadRow({texts.field, texts.value});
        for (const ShownRow& row : ShownRows(std::span(rows).subspan(begin, end - begin), numbers, texts))
            html.Row({row.field, row.value});
        html.TableEnd();
        begin = end;
    }

    if (input.voice) {
        html.Element("h2", texts.voiceHeading);
        html.Raw("\n");
        html.TableStart();
        html.HeadRow({texts.field, texts.value});
        for (const SettingRow& row : DescribeVoice(*input.voice)) html.Row({row.field, row.value});
        html.TableEnd();
    }

    if (!input.log.empty()) {
        html.Element("h2", texts.logHeading);
        html.Raw("\n");
        html.TableStart();
        html.Raw("<thead><tr>");
        for (std::string_view header : LogColumnHeaders(input.profile.language)) html.Element("th", header);
        html.Raw("</tr></thead>\n");
        for (const LogRow& row : input.log) {
            html.Raw("<tr>");
            for (const std::string& cell : row) html.Element("td", cell);
            html.Raw("</tr>\n");
        }
        html.TableEnd();
    }
    if (form == ReportForm::Browser) {
        html.Raw("<div class=\"foot\">");
        html.Text(ReportFoot(input));
        html.Raw("</div>\n");
    }
    html.Raw("</body></html>\n");
    return html.Take();
}

}  // namespace korvex
