#include "pages/communicator_page.h"

#include <QLabel>
#include <QVBoxLayout>

namespace korvex {

CommunicatorPage::CommunicatorPage(AppModel& model, QWidget* parent) : Page(PageId::Communicator, model, parent) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Коммуникатор"), this), 0, Qt::AlignCenter);
}

}  // namespace korvex
