#include "pages/names_page.h"

#include <QLabel>
#include <QVBoxLayout>

namespace korvex {

NamesPage::NamesPage(AppModel& model, QWidget* parent) : Page(PageId::Names, model, parent) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Обозначения"), this), 0, Qt::AlignCenter);
}

}  // namespace korvex
