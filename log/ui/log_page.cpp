#include "log/ui/log_page.h"

#include <QLabel>
#include <QVBoxLayout>

namespace korvex {

LogPage::LogPage(AppModel& model, QWidget* parent) : Page(PageId::Log, model, parent) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Журнал"), this), 0, Qt::AlignCenter);
}

}  // namespace korvex
