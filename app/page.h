#pragma once
#include <QWidget>

#include "app/app_model.h"

namespace korvex {

// Page numbers, the same order in both programs (the compact one stops at 5).
enum class PageId { File = 1, Properties = 2, Messages = 3, Phones = 4, Zones = 5, Log = 6, Names = 7, Communicator = 8 };

// A page of the main window. Every control stores its value into the model
// when it loses the focus, a box is clicked or a list entry is chosen; the
// page host calls CommitEdits before any page reloads, and RefreshFromModel
// to reload the controls.
class Page : public QWidget {
public:
    Page(PageId id, AppModel& model, QWidget* parent = nullptr) : QWidget(parent), id_(id), model_(model) {}
    PageId Id() const { return id_; }
    virtual void RefreshFromModel() {}
    // Stores whatever the control with the focus holds.
    virtual void CommitEdits() {}

protected:
    AppModel& Model() { return model_; }
    const Profile& GetProfile() const { return model_.profile; }

private:
    PageId id_;
    AppModel& model_;
};

}  // namespace korvex
