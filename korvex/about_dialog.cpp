#include "korvex/about_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "korvex/frame_texts.h"
#include "app/toolbar_icons.h"

namespace korvex {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    const FrameTexts& texts = kFrameRussian;
    setWindowTitle(QString::fromUtf8(texts.aboutCaption));
    auto* icon = new QLabel(this);
    icon->setPixmap(ApplicationIcon().pixmap(32, 32));
    icon->setAlignment(Qt::AlignTop);
    auto* text = new QLabel(QString::fromUtf8(texts.aboutText), this);
    text->setObjectName("aboutText");
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* row = new QHBoxLayout;
    row->addWidget(icon);
    row->addSpacing(12);
    row->addWidget(text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace korvex
