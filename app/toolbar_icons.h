#pragma once
#include <QIcon>

#include "app/page.h"

namespace korvex {

// The toolbar pictures of the main window, drawn in code: one per page and
// one for the About button. The application icon is the module itself.
QIcon PageIcon(PageId id);
QIcon AboutIcon();
QIcon ApplicationIcon();

}  // namespace korvex
