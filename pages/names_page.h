#pragma once
#include <array>

#include "app/page.h"

namespace korvex {

class GridList;
struct GridNotification;

// The page behind "Обозначения": names for the 28 zones, 8 partitions and 8
// users, and a voice message for each zone and partition, edited in place
// in three grid lists. Row r always shows and edits entry r, however the
// list has sorted its rows; the texts come from the settings whenever a
// list is drawn.
class NamesPage : public Page {
public:
    enum class NameList { Zones = 0, Partitions = 1, Users = 2 };

    NamesPage(AppModel& model, QWidget* parent = nullptr);

    GridList* List(NameList list) const { return lists_[static_cast<std::size_t>(list)]; }

    void RefreshFromModel() override;
    void CommitEdits() override;

    // The owner side of a list: the text of a cell and the answer to an edit.
    QString CellText(NameList list, int row, int column) const;
    int EditNotify(NameList list, GridNotification& note);

private:
    void SetUpList(NameList list);

    ConfigSettings& settings_;
    std::array<GridList*, 3> lists_{};
};

}  // namespace korvex
