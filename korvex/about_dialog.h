#pragma once
#include <QDialog>

namespace korvex {

// "О программе ...": the icon, the program's name and version, and OK.
class AboutDialog : public QDialog {
public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace korvex
