#pragma once
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace korvex {

// Column flags of a GridList column.
namespace ColumnFlag {
constexpr int DropList = 0x1;     // edited by choosing one of the owner's choices
constexpr int Edit = 0x4;         // edited as text
constexpr int Numeric = 0x8;      // sorts by the integer value of the text
constexpr int Valute = 0x10;      // the same after every "." is removed
constexpr int Sortable = 0x20;
constexpr int FixedWidth = 0x100; // the user cannot change the width
}  // namespace ColumnFlag

// Grid options of a GridList.
namespace GridOption {
constexpr int FullWidthRows = 0x1;  // row drawing reaches the right edge of the list
constexpr int HeaderSort = 0x8;     // header clicks and the menu's sort commands sort
}  // namespace GridOption

enum class ColumnAlignment : std::int32_t { Left = 0, Right = 1, Centre = 2 };

struct ColumnDefinition {
    std::int32_t id = 0;  // the owner's column id, handed to its callbacks
    ColumnAlignment alignment = ColumnAlignment::Left;
    std::int32_t width = 0;  // pixels
    std::int32_t extra = -1;
    std::int32_t flags = 0;
    QString label;
    std::optional<QString> label2;
    std::optional<QString> imageLabel;
};

// The columns an owner describes, in the order it added them, and the ids
// of those shown, in the order shown.
class ColumnSet {
public:
    // A definition with an id already present replaces the old one.
    void AddColumn(const ColumnDefinition& column);
    // The same, field by field in the order owners describe a column.
    void AddColumn(std::int32_t id, const QString& label, std::optional<QString> label2, ColumnAlignment alignment,
                   std::int32_t width, std::int32_t flags, std::int32_t extra = -1,
                   std::optional<QString> imageLabel = std::nullopt);
    // Ids without a definition and repeated ids are left out.
    void SetShownColumns(const std::vector<std::int32_t>& ids);

    const std::vector<ColumnDefinition>& Definitions() const { return definitions_; }
    const std::vector<std::int32_t>& ShownColumns() const { return shown_; }
    ColumnDefinition* Find(std::int32_t id);
    const ColumnDefinition* Find(std::int32_t id) const;
    bool Empty() const { return definitions_.empty(); }

private:
    std::vector<ColumnDefinition> definitions_;
    std::vector<std::int32_t> shown_;
};

// The integer value of a text's leading number (optional blanks, sign,
// digits), 0 when there is none; saturates instead of overflowing.
std::int64_t LeadingNumber(const QString& text);

// Three-way comparison of two cell texts as a column with these flags sorts
// them: Valute drops every "." and then compares numbers, Numeric compares
// numbers, anything else compares text without regard to case.
int CompareCellTexts(const QString& a, const QString& b, int flags);

}  // namespace korvex
