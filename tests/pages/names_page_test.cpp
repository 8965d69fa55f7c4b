#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "model/clock.h"
#include "model/cp1251.h"
#include "model/image_codec.h"
#include "pages/names_page.h"
#include "widgets/grid_list.h"
#include "ui/key_input.h"
#include "ui/page_model.h"

namespace korvex {
namespace {

using NameList = NamesPage::NameList;
constexpr NameList kLists[] = {NameList::Zones, NameList::Partitions, NameList::Users};
constexpr int kNameColumn = 2;   // position of the name among the shown columns
constexpr int kSoundColumn = 3;

class NamesPageTest : public ::testing::Test {
protected:
    NamesPageTest() {
        page.resize(640, 420);
        page.show();
    }
    GridList* List(NameList list) { return page.List(list); }
    ConfigSettings& Settings() { return sim.model.settings; }

    // Everything a list shows, row by row.
    std::vector<QStringList> Shown(NameList list) {
        std::vector<QStringList> rows;
        GridList* grid = List(list);
        for (int r = 0; r < grid->RowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < grid->ColumnCount(); ++c) cells << grid->CellText(r, c);
            rows.push_back(cells);
        }
        return rows;
    }
    void TypeName(NameList list, int row, const QString& text) {
        GridList* grid = List(list);
        ASSERT_TRUE(grid->OpenEditor(row, kNameColumn));
        QLineEdit* editor = grid->TextEditor();
        editor->selectAll();  // typing replaces the old name
        test::TypeText(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        ASSERT_FALSE(grid->IsEditing());
    }
    void ChooseSound(NameList list, int row, const QString& choice) {
        GridList* grid = List(list);
        ASSERT_TRUE(grid->OpenEditor(row, kSoundColumn));
        QComboBox* drop = grid->DropEditor();
        const int index = drop->findText(choice, Qt::MatchExactly);
        ASSERT_GE(index, 0) << choice.toStdString();
        drop->setCurrentIndex(index);
        grid->CloseEditor(true);
    }

    test::PageModel sim;
    NamesPage page{sim.model, nullptr};
};

TEST_F(NamesPageTest, ListsHaveTheirColumns) {
    struct Col {
        std::int32_t id;
        const char* label;
        ColumnAlignment alignment;
        int width;
        int flags;
    };
    const std::vector<Col> zones = {{0, "", ColumnAlignment::Left, 0, 0x180},
                                    {1, "№", ColumnAlignment::Centre, 30, 0x28},
                                    {2, "Назв. Зоны", ColumnAlignment::Left, 100, 0x24},
                                    {3, "Звук", ColumnAlignment::Left, 70, 0x1}};
    std::vector<Col> partitions = zones;
    partitions[2].label = "Назв. Раздела";
    std::vector<Col> users(zones.begin(), zones.begin() + 3);
    users[2].label = "Пользователь";
    users[2].width = 95;
    const struct {
        NameList list;
        const std::vector<Col>& columns;
        int rows;
    } expected[] = {{NameList::Zones, zones, 28}, {NameList::Partitions, partitions, 8}, {NameList::Users, users, 8}};

    for (const auto& e : expected) {
        SCOPED_TRACE(static_cast<int>(e.list));
        GridList* grid = List(e.list);
        ASSERT_EQ(grid->ColumnCount(), static_cast<int>(e.columns.size()));
        EXPECT_EQ(grid->RowCount(), e.rows);
        EXPECT_EQ(grid->GridOptions(), 0x0F);
        EXPECT_EQ(grid->rowHeight(0), 17);
        for (int c = 0; c < grid->ColumnCount(); ++c) {
            const ColumnDefinition& def = grid->ColumnAt(c);
            EXPECT_EQ(def.id, e.columns[c].id);
            EXPECT_EQ(grid->ColumnIdAt(c), e.columns[c].id);
            EXPECT_EQ(def.label, QString::fromUtf8(e.columns[c].label));
            EXPECT_EQ(def.alignment, e.columns[c].alignment);
            EXPECT_EQ(def.width, e.columns[c].width);
            EXPECT_EQ(def.flags, e.columns[c].flags);
        }
        for (int r = 0; r < grid->RowCount(); ++r) EXPECT_EQ(grid->RowItemData(r), r);
    }
}

TEST_F(NamesPageTest, CreatingThePageEmptiesTheNames) {
    test::PageModel other;
    other.model.settings.zoneNames[3] = {"Old", 4};
    other.model.settings.partitionNames[7] = {"Old", 6};
    other.model.settings.userNames[0] = "Old";
    NamesPage fresh(other.model, nullptr);
    EXPECT_EQ(other.model.settings.zoneNames[3], NameRecord{});
    EXPECT_EQ(other.model.settings.partitionNames[7], NameRecord{});
    EXPECT_EQ(other.model.settings.userNames[0], "");
}

TEST_F(NamesPageTest, RowsShowTheirEntries) {
    Settings().zoneNames[27] = {"Zone 28", 6};
    Settings().partitionNames[0] = {"\xD1\xEA\xEB\xE0\xE4", 1};  // "Склад" in code page 1251
    Settings().userNames[7] = "User 8";
    EXPECT_EQ(Shown(NameList::Zones)[27], QStringList({"", "28", "Zone 28", "Wav 6"}));
    EXPECT_EQ(Shown(NameList::Partitions)[0], QStringList({"", "1", "Склад", "Wav 1"}));
    EXPECT_EQ(Shown(NameList::Users)[7], QStringList({"", "8", "User 8"}));
}

TEST_F(NamesPageTest, SoundTexts) {
    const struct {
        int sound;
        const char* text;
    } cases[] = {{0, ""}, {1, "Wav 1"}, {3, "Wav 3"}, {6, "Wav 6"}, {7, ""}, {9, ""}, {255, ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sound);
        Settings().zoneNames[5].sound = static_cast<std::uint8_t>(c.sound);
        Settings().partitionNames[5].sound = static_cast<std::uint8_t>(c.sound);
        EXPECT_EQ(List(NameList::Zones)->CellText(5, kSoundColumn), QString::fromUtf8(c.text));
        EXPECT_EQ(List(NameList::Partitions)->CellText(5, kSoundColumn), QString::fromUtf8(c.text));
    }
}

TEST_F(NamesPageTest, ASoundByteOfNineFromTheModuleShowsEmpty) {
    std::vector<std::uint8_t> image(FullProfile().imageSize, 0);
    image[640] = 9;               // zone 1: sound byte
    image[640 + 11] = 2;          // zone 2: "Wav 2"
    image[640 + 11 + 1] = 'Z';    // zone 2: name
    UnpackImage(FullProfile(), image, Settings());
    page.RefreshFromModel();
    EXPECT_EQ(Shown(NameList::Zones)[0], QStringList({"", "1", "", ""}));
    EXPECT_EQ(Shown(NameList::Zones)[1], QStringList({"", "2", "Z", "Wav 2"}));
}

TEST_F(NamesPageTest, EditsReachTheEntryOfTheirRow) {
    TypeName(NameList::Zones, 27, QStringLiteral("Гараж"));
    TypeName(NameList::Users, 7, QStringLiteral("Ivan"));
    ChooseSound(NameList::Partitions, 7, QStringLiteral("Wav 4"));
    EXPECT_EQ(Settings().zoneNames[27].name, "\xC3\xE0\xF0\xE0\xE6");  // code page 1251
    EXPECT_EQ(Settings().userNames[7], "Ivan");
    EXPECT_EQ(Settings().partitionNames[7].sound, 4);
    EXPECT_EQ(Shown(NameList::Zones)[27][kNameColumn], QStringLiteral("Гараж"));

    // The empty choice is "no sound".
    ChooseSound(NameList::Partitions, 7, QString());
    EXPECT_EQ(Settings().partitionNames[7].sound, 0);
}

TEST_F(NamesPageTest, DropListOffersNoSoundAndSixMessages) {
    GridList* grid = List(NameList::Zones);
    ASSERT_TRUE(grid->OpenEditor(0, kSoundColumn));
    QStringList choices;
    for (int i = 0; i < grid->DropEditor()->count(); ++i) choices << grid->DropEditor()->itemText(i);
    EXPECT_EQ(choices, QStringList({"", "Wav 1", "Wav 2", "Wav 3", "Wav 4", "Wav 5", "Wav 6"}));
    grid->CloseEditor(false);
    // The users have no sound to choose.
    GridNotification ask;
    ask.kind = GridNotification::SupplyChoices;
    ask.row = 0;
    ask.columnId = 3;
    EXPECT_EQ(page.EditNotify(NameList::Users, ask), 0);
}

TEST_F(NamesPageTest, NamesHoldTenCharacters) {
    TypeName(NameList::Zones, 0, QStringLiteral("0123456789X"));
    EXPECT_EQ(Settings().zoneNames[0].name, "0123456789");
    TypeName(NameList::Users, 1, QStringLiteral("ДесятьБукв!"));
    EXPECT_EQ(Cp1251ToUtf8(Settings().userNames[1]), "ДесятьБукв");

    // A full ten-character name fills its field and reads back unchanged.
    const std::vector<std::uint8_t> readImage(FullProfile().imageSize, 0);
    std::vector<std::uint8_t> image(FullProfile().imageSize, 0);
    PackImage(FullProfile(), Settings(), readImage, image, Date{2024, 1, 1});
    ConfigSettings back;
    UnpackImage(FullProfile(), image, back);
    EXPECT_EQ(back.zoneNames[0].name, "0123456789");
    EXPECT_EQ(back.userNames[1], Settings().userNames[1]);
}

TEST_F(NamesPageTest, NamesWithoutACodePageCharacterAreRefused) {
    Settings().zoneNames[2].name = "Old";
    TypeName(NameList::Zones, 2, QStringLiteral("日本"));
    EXPECT_EQ(Settings().zoneNames[2].name, "Old");
    EXPECT_EQ(List(NameList::Zones)->CellText(2, kNameColumn), QStringLiteral("Old"));
    // Text that reaches the page some other way is refused there too.
    GridNotification name;
    name.kind = GridNotification::ValueEdited;
    name.row = 2;
    name.columnId = 2;
    for (const QString& text : {QStringLiteral("日本"), QStringLiteral("ElevenChars")}) {
        name.text = text;
        EXPECT_EQ(page.EditNotify(NameList::Zones, name), 0) << text.toStdString();
    }
    EXPECT_EQ(Settings().zoneNames[2].name, "Old");

    GridNotification edit;
    edit.kind = GridNotification::ValueEdited;
    edit.row = 2;
    edit.columnId = 3;
    edit.text = QStringLiteral("Wav 7");
    EXPECT_EQ(page.EditNotify(NameList::Zones, edit), 0);
    EXPECT_EQ(Settings().zoneNames[2].sound, 0);
}

// Sorting reorders the list's own rows, but row r goes on showing and
// editing entry r.
TEST_F(NamesPageTest, SortingLeavesTheTextsByPosition) {
    const char* names[] = {"delta", "Alpha", "charlie", "bravo", "echo"};
    for (int r = 0; r < 5; ++r) TypeName(NameList::Zones, r, QString::fromUtf8(names[r]));
    ChooseSound(NameList::Zones, 4, QStringLiteral("Wav 5"));
    ChooseSound(NameList::Zones, 1, QStringLiteral("Wav 1"));
    const auto before = Shown(NameList::Zones);
    GridList* grid = List(NameList::Zones);

    for (int column : {1, 2}) {
        for (bool ascending : {true, false}) {
            SCOPED_TRACE(column * 10 + ascending);
            grid->SortRows(column, ascending);
            EXPECT_EQ(Shown(NameList::Zones), before);
        }
    }
    // The list's own rows did move: its stored names are no longer in entry order.
    grid->SortRows(kNameColumn, false);
    EXPECT_EQ(grid->StoredText(0, 2), QStringLiteral("echo"));
    EXPECT_EQ(grid->RowItemData(0), 4);

    // An edit on row 0 after the sort is an edit of entry 0.
    TypeName(NameList::Zones, 0, QStringLiteral("first"));
    EXPECT_EQ(Settings().zoneNames[0].name, "first");
    EXPECT_EQ(Settings().zoneNames[4].name, "echo");
}

TEST_F(NamesPageTest, SwitchingPagesKeepsTheNameBeingTyped) {
    GridList* grid = List(NameList::Partitions);
    ASSERT_TRUE(grid->OpenEditor(3, kNameColumn));
    test::TypeText(grid->TextEditor(), QStringLiteral("Склад"));
    page.CommitEdits();
    EXPECT_FALSE(grid->IsEditing());
    EXPECT_EQ(Cp1251ToUtf8(Settings().partitionNames[3].name), "Склад");
}

}  // namespace
}  // namespace korvex
