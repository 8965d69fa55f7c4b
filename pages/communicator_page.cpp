#include "pages/communicator_page.h"

#include "app/qt_paths.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <span>
#include <string>

#include "model/cp1251.h"
#include "model/communicator_texts.h"
#include "model/sms_layout.h"

namespace korvex {

namespace {

const CommunicatorTexts& kTexts = kCommunicatorTexts;
constexpr auto kReportLeft = std::span(kReportBoxes).first<kReportBoxesLeft>();
constexpr auto kReportRight = std::span(kReportBoxes).subspan<kReportBoxesLeft>();

bool Bit(std::uint8_t mask, int bit) { return (mask >> bit) & 1; }

std::uint8_t WithBit(std::uint8_t mask, int bit, bool on) {
    const auto m = static_cast<std::uint8_t>(1u << bit);
    return static_cast<std::uint8_t>(on ? (mask | m) : (mask & ~m));
}

// A list with an edit field that only shows the choice: typed text would
// change nothing, so the field takes none.
QComboBox* ChoiceBox(QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    box->lineEdit()->setReadOnly(true);
    box->setMaxVisibleItems(9);
    return box;
}

// The label before a control, naming it as its buddy.
QLabel* Naming(const char* text, QWidget* control) {
    auto* label = new QLabel(QString::fromUtf8(text), control->parentWidget());
    label->setBuddy(control);
    return label;
}

}  // namespace

CommunicatorPage::CommunicatorPage(AppModel& model, QWidget* parent) : Page(PageId::Communicator, model, parent) {
    BuildControls();

    connect(actions_, &QButtonGroup::idClicked, this, [this](int) { LoadCurrentAction(); });
    connect(smsPhone_, &QComboBox::activated, this, [this](int index) {
        if (index >= 0) Current().smsPhone = static_cast<std::uint8_t>(index);
    });
    connect(autodialPhone_, &QComboBox::activated, this, [this](int index) {
        if (index >= 0) Current().autodialPhone = static_cast<std::uint8_t>(index);
    });
    connect(language_, &QComboBox::activated, this, [this](int index) { LanguageChosen(index); });
    for (int bit = 0; bit < kLayoutBits; ++bit)
        connect(layoutBoxes_[static_cast<std::size_t>(bit)], &QCheckBox::clicked, this,
                [this, bit](bool checked) { LayoutBoxClicked(bit, checked); });
    for (int bit = 0; bit < kReportTypeBits; ++bit)
        connect(reportBoxes_[static_cast<std::size_t>(bit)], &QCheckBox::clicked, this,
                [this, bit](bool checked) { ReportBoxClicked(bit, checked); });

    actions_->button(0)->setChecked(true);
}

// Dialog 136 is 419 x 206 dialog units. The groups and rows below keep its
// arrangement; the stretch factors are its widths and heights in those units.
void CommunicatorPage::BuildControls() {
    // Actions.
    auto* actionsGroup = new QGroupBox(QString::fromUtf8(kTexts.actionsBox), this);
    auto* actionsRow = new QHBoxLayout(actionsGroup);
    actions_ = new QButtonGroup(this);
    actions_->setExclusive(true);
    const int gaps[kReportActions + 1] = {40, 30, 30, 30, 35};
    actionsRow->addStretch(gaps[0]);
    for (int k = 0; k < kReportActions; ++k) {
        auto* button = new QPushButton(QString::fromUtf8(kTexts.actions[k]), actionsGroup);
        button->setCheckable(true);
        button->setAutoDefault(false);
        actions_->addButton(button, k);
        actionsRow->addWidget(button, 58);
        actionsRow->addStretch(gaps[k + 1]);
    }

    // SMS: phone and language, the two groups of boxes, the preview.
    auto* smsGroup = new QGroupBox(QString::fromUtf8(kTexts.smsBox), this);
    auto* sms = new QGridLayout(smsGroup);
    smsPhone_ = ChoiceBox(smsGroup);
    language_ = ChoiceBox(smsGroup);
    for (const char* text : kTexts.languages) language_->addItem(QString::fromUtf8(text));
    language_->setCurrentIndex(0);

    auto* typesGroup = new QGroupBox(QString::fromUtf8(kTexts.typesBox), smsGroup);
    auto* types = new QGridLayout(typesGroup);
    int row = 0;
    for (const ReportBoxText& box : kReportLeft) {
        auto* check = new QCheckBox(QString::fromUtf8(box.text), typesGroup);
        reportBoxes_[static_cast<std::size_t>(box.bit)] = check;
        types->addWidget(check, row++, 0);
    }
    row = 0;
    for (const ReportBoxText& box : kReportRight) {
        auto* check = new QCheckBox(QString::fromUtf8(box.text), typesGroup);
        reportBoxes_[static_cast<std::size_t>(box.bit)] = check;
        types->addWidget(check, row++, 1);
    }
    types->setColumnStretch(0, 114);
    types->setColumnStretch(1, 88);
    // In a tall window the boxes stay together at the top, as the layout boxes do.
    types->setRowStretch(types->rowCount(), 1);

    auto* layoutGroup = new QGroupBox(QString::fromUtf8(kTexts.layoutBox), smsGroup);
    auto* layoutColumn = new QVBoxLayout(layoutGroup);
    for (int bit = 0; bit < kLayoutBits; ++bit) {
        auto* check = new QCheckBox(QString::fromUtf8(kLayoutBoxes[bit]), layoutGroup);
        layoutBoxes_[static_cast<std::size_t>(bit)] = check;
        layoutColumn->addWidget(check);
    }
    layoutColumn->addStretch(1);

    preview_ = new QLineEdit(smsGroup);
    preview_->setReadOnly(true);

    // Columns: label 16..64, phone 64..164, gap to 242, label 242..291, language 291..386.
    sms->addWidget(Naming(kTexts.phoneLabel, smsPhone_), 0, 0);
    sms->addWidget(smsPhone_, 0, 1);
    sms->addWidget(Naming(kTexts.languageLabel, language_), 0, 3);
    sms->addWidget(language_, 0, 4);
    sms->addWidget(typesGroup, 1, 0, 1, 3);
    sms->addWidget(layoutGroup, 1, 3, 1, 2);
    // Latin letters here, unlike the group title: the label has always read so.
    sms->addWidget(Naming(kTexts.smsLabel, preview_), 2, 0);
    sms->addWidget(preview_, 2, 1, 1, 4);
    const int columns[] = {48, 100, 78, 49, 95};
    for (int c = 0; c < 5; ++c) sms->setColumnStretch(c, columns[c]);
    sms->setRowStretch(1, 1);

    // Autodial.
    auto* autodialGroup = new QGroupBox(QString::fromUtf8(kTexts.autodialBox), this);
    auto* autodial = new QHBoxLayout(autodialGroup);
    autodialPhone_ = ChoiceBox(autodialGroup);
    autodial->addWidget(Naming(kTexts.phoneLabel, autodialPhone_), 49);
    autodial->addWidget(autodialPhone_, 100);
    autodial->addStretch(241);

    auto* page = new QVBoxLayout(this);
    page->addWidget(actionsGroup);
    page->addWidget(smsGroup, 1);
    page->addWidget(autodialGroup);
}

QAbstractButton* CommunicatorPage::ActionButton(int action) const { return actions_->button(action); }

int CommunicatorPage::CurrentAction() const {
    const int id = actions_->checkedId();
    return id >= 0 && id < kReportActions ? id : 0;
}

ReportAction& CommunicatorPage::Current() {
    return Model().settings.reportActions[static_cast<std::size_t>(CurrentAction())];
}

void CommunicatorPage::SelectPhone(QComboBox* box, int phone) {
    // A stored number beyond the eight phones shows "НЕТ".
    box->setCurrentIndex(phone >= 0 && phone <= kPhoneCount && phone < box->count() ? phone : 0);
}

void CommunicatorPage::RebuildPhoneChoices() {
    QStringList choices{QString::fromUtf8(kTexts.noPhone)};
    for (const std::string& phone : Model().settings.phones) choices << QtText(Cp1251ToUtf8(PhoneChoiceText(phone)));
    for (QComboBox* box : {smsPhone_, autodialPhone_}) {
        box->clear();
        box->addItems(choices);
    }
    const ReportAction& first = Model().settings.reportActions[0];
    SelectPhone(smsPhone_, first.smsPhone);
    SelectPhone(autodialPhone_, first.autodialPhone);
}

void CommunicatorPage::LoadCurrentAction() {
    ReportAction& action = Current();
    SelectPhone(smsPhone_, action.smsPhone);
    SelectPhone(autodialPhone_, action.autodialPhone);
    for (int bit = 0; bit < kReportTypeBits; ++bit) ReportBox(bit)->setChecked(Bit(action.reportTypeMask, bit));

    const SmsLanguage language = LanguageOf(action.smsLayoutMask);
    language_->setCurrentIndex(static_cast<int>(language));
    const bool russian = language == SmsLanguage::Russian;
    // A Russian SMS has no room for the name, the ID or the partition.
    if (russian) action.smsLayoutMask = static_cast<std::uint8_t>(action.smsLayoutMask & ~kLayoutContents);
    for (int bit = 0; bit < kLayoutBits; ++bit) {
        LayoutBox(bit)->setChecked(Bit(action.smsLayoutMask, bit));
        LayoutBox(bit)->setEnabled(!russian);
    }

    const std::string& name = Model().settings.objectName;
    const std::string shownName = Cp1251ToUtf8(std::string_view(name).substr(0, name.find('\0')));
    preview_->setText(QtText(SmsPreview(action.smsLayoutMask, shownName)));
}

void CommunicatorPage::UpdateControls() {
    for (QComboBox* box : {smsPhone_, autodialPhone_, language_})
        box->setEditText(box->currentIndex() >= 0 ? box->itemText(box->currentIndex()) : QString());
}

void CommunicatorPage::LanguageChosen(int index) {
    if (index < 0 || index >= kSmsLanguageCount) return;
    ReportAction& action = Current();
    action.smsLayoutMask = WithLanguage(action.smsLayoutMask, static_cast<SmsLanguage>(index));
    LoadCurrentAction();
}

void CommunicatorPage::LayoutBoxClicked(int bit, bool checked) {
    ReportAction& action = Current();
    action.smsLayoutMask = WithBit(action.smsLayoutMask, bit, checked);
    LoadCurrentAction();
}

void CommunicatorPage::ReportBoxClicked(int bit, bool checked) {
    ReportAction& action = Current();
    action.reportTypeMask = WithBit(action.reportTypeMask, bit, checked);
}

}  // namespace korvex
