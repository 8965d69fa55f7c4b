#pragma once
#include "shell/page.h"

namespace korvex {

// The names of zones, partitions and users. For now it only holds its
// place among the pages.
class NamesPage : public Page {
public:
    NamesPage(AppModel& model, QWidget* parent = nullptr);
};

}  // namespace korvex
