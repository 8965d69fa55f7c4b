#include "widgets/grid_columns.h"

#include <algorithm>
#include <limits>

namespace korvex {

void ColumnSet::AddColumn(const ColumnDefinition& column) {
    if (ColumnDefinition* old = Find(column.id)) {
        *old = column;
        return;
    }
    definitions_.push_back(column);
}

void ColumnSet::AddColumn(std::int32_t id, const QString& label, std::optional<QString> label2,
                          ColumnAlignment alignment, std::int32_t width, std::int32_t flags, std::int32_t extra,
                          std::optional<QString> imageLabel) {
    ColumnDefinition c;
    c.id = id;
    c.alignment = alignment;
    c.width = width;
    c.extra = extra;
    c.flags = flags;
    c.label = label;
    c.label2 = std::move(label2);
    c.imageLabel = std::move(imageLabel);
    AddColumn(c);
}

void ColumnSet::SetShownColumns(const std::vector<std::int32_t>& ids) {
    shown_.clear();
    for (const std::int32_t id : ids) {
        if (Find(id) && std::find(shown_.begin(), shown_.end(), id) == shown_.end()) shown_.push_back(id);
    }
}

ColumnDefinition* ColumnSet::Find(std::int32_t id) {
    auto it = std::find_if(definitions_.begin(), definitions_.end(), [id](const auto& c) { return c.id == id; });
    return it == definitions_.end() ? nullptr : &*it;
}

const ColumnDefinition* ColumnSet::Find(std::int32_t id) const {
    return const_cast<ColumnSet*>(this)->Find(id);
}

std::int64_t LeadingNumber(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        const int digit = text[i].unicode() - u'0';
        value = value > (kMax - digit) / 10 ? kMax : value * 10 + digit;
    }
    return negative ? -value : value;
}

int CompareCellTexts(const QString& a, const QString& b, int flags) {
    if (flags & (ColumnFlag::Numeric | ColumnFlag::Valute)) {
        QString x = a, y = b;
        if (flags & ColumnFlag::Valute) {
            x.remove(u'.');
            y.remove(u'.');
        }
        const std::int64_t p = LeadingNumber(x), q = LeadingNumber(y);
        return p < q ? -1 : (p > q ? 1 : 0);
    }
    const int c = QString::compare(a, b, Qt::CaseInsensitive);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}  // namespace korvex
