#include "widgets/grid_columns.h"

#include <gtest/gtest.h>

namespace korvex {
namespace {

struct CompareCase {
    const char* a;
    const char* b;
    int flags;
    int expected;  // sign of the comparison
};

const CompareCase kCompareCases[] = {
    {"9", "10", ColumnFlag::Numeric, -1},
    {"9", "10", 0, 1},  // as text, "1" sorts before "9"
    {"abc", "ABC", 0, 0},
    {"abc", "abd", 0, -1},
    {"", "0", ColumnFlag::Numeric, 0},
    {"x7", "0", ColumnFlag::Numeric, 0},  // no leading number is 0
    {"  12kg", "3", ColumnFlag::Numeric, 1},
    {"-5", "3", ColumnFlag::Numeric, -1},
    {"+5", "5", ColumnFlag::Numeric, 0},
    {"1.000", "999", ColumnFlag::Numeric, -1},  // 1 against 999
    {"1.000", "999", ColumnFlag::Valute, 1},    // 1000 against 999
    {"1.2.3", "122", ColumnFlag::Valute, 1},
    {"1.000", "999", ColumnFlag::Numeric | ColumnFlag::Valute, 1},
    // Far past 64 bits: saturates rather than wrapping.
    {"99999999999999999999999999", "1", ColumnFlag::Numeric, 1},
    {"-99999999999999999999999999", "1", ColumnFlag::Numeric, -1},
};

TEST(CompareCellTexts, Table) {
    for (const CompareCase& c : kCompareCases) {
        const int got = CompareCellTexts(QString::fromLatin1(c.a), QString::fromLatin1(c.b), c.flags);
        EXPECT_EQ(got, c.expected) << '"' << c.a << "\" vs \"" << c.b << "\" flags " << c.flags;
        EXPECT_EQ(CompareCellTexts(QString::fromLatin1(c.b), QString::fromLatin1(c.a), c.flags), -c.expected);
    }
}

TEST(ColumnSet, ShownColumnsKeepOnlyKnownIdsOnce) {
    ColumnSet set;
    set.AddColumn(1, QStringLiteral("one"), {}, ColumnAlignment::Left, 50, 0);
    set.AddColumn(2, QStringLiteral("two"), {}, ColumnAlignment::Left, 50, 0);
    set.AddColumn(1, QStringLiteral("uno"), {}, ColumnAlignment::Left, 50, 0);  // replaces
    set.SetShownColumns({2, 7, 1, 2});
    EXPECT_EQ(set.ShownColumns(), (std::vector<std::int32_t>{2, 1}));
    ASSERT_EQ(set.Definitions().size(), 2u);
    EXPECT_EQ(set.Find(1)->label, QStringLiteral("uno"));
    EXPECT_EQ(set.Find(7), nullptr);
}

}  // namespace
}  // namespace korvex
