#pragma once
#include "shell/page.h"

namespace korvex {

// The event log page: reading, erasing and exporting the module's log.
// For now it only holds its place among the pages.
class LogPage : public Page {
public:
    LogPage(AppModel& model, QWidget* parent = nullptr);
};

}  // namespace korvex
