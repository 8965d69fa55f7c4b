#include "pages/names_page.h"

#include <QHBoxLayout>
#include <string>

#include "model/cp1251.h"
#include "model/names_texts.h"
#include "pages/text_field.h"
#include "widgets/grid_list.h"

namespace korvex {

namespace {

constexpr int kSoundCount = 6;
constexpr int kGridOptions = 0x0F;
constexpr int kRowHeight = 17;

enum ColumnId : std::int32_t { kHiddenColumn = 0, kNumberColumn = 1, kNameColumn = 2, kSoundColumn = 3 };

struct ListLook {
    std::int32_t controlId;
    const char* nameHeader;
    int nameWidth;
    bool hasSound;
    int rows;
    int stretch;  // the list's width in dialog units
};
constexpr ListLook kLooks[3] = {
    {1128, kNamesTexts.zoneHeader, 100, true, kZoneNames, 150},
    {1129, kNamesTexts.partitionHeader, 100, true, kPartitionNames, 148},
    {1130, kNamesTexts.userHeader, 95, false, kUserNames, 97},
};

const ListLook& LookOf(NamesPage::NameList list) { return kLooks[static_cast<int>(list)]; }

QString SoundText(int sound) {
    return sound >= 1 && sound <= kSoundCount ? QString::fromUtf8(kNamesTexts.soundItem) + QString::number(sound) : QString();
}

// 0 for the empty text, 1..6 for "Wav 1".."Wav 6", -1 for anything else.
int SoundOf(const QString& text) {
    if (text.isEmpty()) return 0;
    for (int sound = 1; sound <= kSoundCount; ++sound)
        if (text == SoundText(sound)) return sound;
    return -1;
}

}  // namespace

NamesPage::NamesPage(AppModel& model, QWidget* parent)
    : Page(PageId::Names, model, parent), settings_(model.settings) {
    for (NameRecord& r : settings_.zoneNames) r = NameRecord{};
    for (NameRecord& r : settings_.partitionNames) r = NameRecord{};
    for (std::string& name : settings_.userNames) name.clear();

    auto* layout = new QHBoxLayout(this);
    for (NameList list : {NameList::Zones, NameList::Partitions, NameList::Users}) {
        auto* grid = new GridList(this);
        grid->setAccessibleName(QString::fromUtf8(LookOf(list).nameHeader));
        lists_[static_cast<std::size_t>(list)] = grid;
        SetUpList(list);
        layout->addWidget(grid, LookOf(list).stretch);
    }
}

void NamesPage::SetUpList(NameList list) {
    const ListLook& look = LookOf(list);
    GridList* grid = List(list);
    grid->SetControlId(look.controlId);
    grid->setFrameShape(QFrame::NoFrame);

    ColumnSet& columns = grid->Columns();
    columns.AddColumn(kHiddenColumn, QString(), {}, ColumnAlignment::Left, 0, 0x180);
    columns.AddColumn(kNumberColumn, QString::fromUtf8(kNamesTexts.numberHeader), {}, ColumnAlignment::Centre, 30, 0x28);
    columns.AddColumn(kNameColumn, QString::fromUtf8(look.nameHeader), {}, ColumnAlignment::Left, look.nameWidth, 0x24);
    std::vector<std::int32_t> shown = {kHiddenColumn, kNumberColumn, kNameColumn};
    if (look.hasSound) {
        columns.AddColumn(kSoundColumn, QString::fromUtf8(kNamesTexts.soundHeader), {}, ColumnAlignment::Left, 70, 0x1);
        shown.push_back(kSoundColumn);
    }
    columns.SetShownColumns(shown);
    grid->SetGridOptions(kGridOptions);
    grid->ApplyColumnSet();
    for (int r = 0; r < look.rows; ++r) grid->InsertRow(r, r);
    grid->SetRowHeight(kRowHeight);
    grid->SetCellTextCallback([this, list](int row, int column, qintptr) { return CellText(list, row, column); });
    grid->SetEditNotifyCallback([this, list](GridNotification& note) { return EditNotify(list, note); });
}

QString NamesPage::CellText(NameList list, int row, int column) const {
    const ConfigSettings& s = settings_;
    if (row < 0 || row >= LookOf(list).rows) return {};
    const auto r = static_cast<std::size_t>(row);
    switch (List(list)->ColumnIdAt(column)) {
        case kNumberColumn:
            return QString::number(row + 1);
        case kNameColumn:
            switch (list) {
                case NameList::Zones: return FromCp1251(s.zoneNames[r].name);
                case NameList::Partitions: return FromCp1251(s.partitionNames[r].name);
                case NameList::Users: return FromCp1251(s.userNames[r]);
            }
            return {};
        case kSoundColumn:
            switch (list) {
                case NameList::Zones: return SoundText(s.zoneNames[r].sound);
                case NameList::Partitions: return SoundText(s.partitionNames[r].sound);
                case NameList::Users: return {};
            }
            return {};
        default:
            return {};
    }
}

int NamesPage::EditNotify(NameList list, GridNotification& note) {
    ConfigSettings& s = settings_;
    if (note.row < 0 || note.row >= LookOf(list).rows) return 0;
    const auto r = static_cast<std::size_t>(note.row);
    NameRecord* record = list == NameList::Zones        ? &s.zoneNames[r]
                         : list == NameList::Partitions ? &s.partitionNames[r]
                                                        : nullptr;

    if (note.kind == GridNotification::SupplyChoices) {
        if (!record || note.columnId != kSoundColumn) return 0;
        note.choices.clear();
        for (int sound = 0; sound <= kSoundCount; ++sound) note.choices << SoundText(sound);
        return 1;
    }
    if (note.kind != GridNotification::ValueEdited) return 0;

    if (note.columnId == kNameColumn) {
        // The name must fit its 10-byte field in code page 1251; anything
        // else is refused and the entry keeps its old name.
        const Cp1251Result bytes = Utf8ToCp1251(note.text.toStdString());
        if (!bytes.Ok() || bytes.bytes.size() > static_cast<std::size_t>(kNameMax) || bytes.bytes.find('\0') != std::string::npos) return 0;
        (record ? record->name : s.userNames[r]) = bytes.bytes;
        return 1;
    }
    if (note.columnId == kSoundColumn && record) {
        const int sound = SoundOf(note.text);
        if (sound < 0) return 0;
        record->sound = static_cast<std::uint8_t>(sound);
        return 1;
    }
    return 0;
}

void NamesPage::RefreshFromModel() {
    for (GridList* grid : lists_) grid->viewport()->update();
}

void NamesPage::CommitEdits() {
    for (GridList* grid : lists_)
        if (grid->IsEditing()) grid->CloseEditor(true);
}

}  // namespace korvex
