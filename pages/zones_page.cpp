#include "pages/zones_page.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "model/config_settings.h"
#include "app/qt_paths.h"
#include "pages/text_field.h"
#include "model/zones_texts.h"

namespace korvex {
namespace {

constexpr int kTestSmsGroup = 3;
constexpr int kSounds = 3;

// An action byte holds the phone (1..8) in its low nibble and the text or
// sound (from 1) in its high nibble; 0 is an action that is not set.
int PhoneOf(std::uint8_t action) { return action & 0x0F; }
int SecondOf(std::uint8_t action) { return action >> 4; }

// Choosing a phone sets the action up with the first text or sound when it
// had none; choosing no phone removes the action.
void SetPhone(std::uint8_t& action, int phone) {
    if (phone == 0) {
        action = 0;
        return;
    }
    action = static_cast<std::uint8_t>((action & 0xF0) | phone);
    if (SecondOf(action) == 0) action |= 0x10;
}

// Choosing no text or sound removes the action, its phone too.
void SetSecond(std::uint8_t& action, int second) {
    action = second == 0 ? 0 : static_cast<std::uint8_t>((action & 0x0F) | (second << 4));
}

QComboBox* NewList(QWidget* parent, const QString& name, const QString& none, const QString& item, int count) {
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->addItem(none);
    for (int i = 1; i <= count; ++i) list->addItem(item + QString::number(i));
    return list;
}

QLineEdit* NewShown(QWidget* parent, const QString& name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    return edit;
}

// The label of a row: it names the list as its buddy, and the field
// beside it that shows what the choice stands for, if there is one.
QLabel* Naming(const QString& text, QComboBox* list, QLineEdit* shown = nullptr) {
    auto* label = new QLabel(text, list->parentWidget());
    label->setBuddy(list);
    if (shown) shown->setAccessibleName(text);
    return label;
}

// Keeps the place of a box that the test SMS group hides, so that the
// page does not jump as the groups are chosen.
void KeepPlace(QWidget* widget) {
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

}  // namespace

ZonesPage::ZonesPage(AppModel& model, QWidget* parent)
    : Page(PageId::Zones, model, parent),
      texts_(ZonesTextsFor(model.profile.kind)),
      testSmsHasZoneType_(model.profile.kind == ModuleKind::Compact),
      groups_(new QButtonGroup(this)),
      actions_(new QButtonGroup(this)) {
    const QString none = QtText(texts_.none);
    const QString phoneItem = QtText(texts_.phoneItem);

    auto* groupsBox = new QGroupBox(QtText(texts_.groupsBox), this);
    auto* groupsColumn = new QVBoxLayout(groupsBox);
    for (int g = 0; g < kZoneGroups; ++g) {
        auto* button = new QRadioButton(QtText(texts_.groups[g]), groupsBox);
        button->setObjectName(QStringLiteral("group%1").arg(g + 1));
        groups_->addButton(button, g);
        groupsColumn->addWidget(button);
    }
    auto* actionsBox = new QGroupBox(QtText(texts_.actionsBox), this);
    auto* actionsColumn = new QVBoxLayout(actionsBox);
    for (int a = 0; a < 4; ++a) {
        auto* button = new QRadioButton(QtText(texts_.actionLabel) + QString::number(a + 1), actionsBox);
        button->setObjectName(QStringLiteral("action%1").arg(a + 1));
        actions_->addButton(button, a);
        actionsColumn->addWidget(button);
    }

    auto* smsBox = new QGroupBox(QtText(texts_.smsBox), this);
    smsPhone_ = NewList(smsBox, QStringLiteral("smsPhone"), none, phoneItem, kPhoneCount);
    smsPhoneShown_ = NewShown(smsBox, QStringLiteral("smsPhoneShown"));
    smsText_ = NewList(smsBox, QStringLiteral("smsText"), none, QtText(texts_.textItem), GetProfile().textCount);
    smsTextShown_ = NewShown(smsBox, QStringLiteral("smsTextShown"));
    auto* smsGrid = new QGridLayout(smsBox);
    smsGrid->addWidget(Naming(QtText(texts_.phoneLabel), smsPhone_, smsPhoneShown_), 0, 0);
    smsGrid->addWidget(smsPhone_, 0, 1);
    smsGrid->addWidget(smsPhoneShown_, 0, 2);
    smsGrid->addWidget(Naming(QtText(texts_.smsLabel), smsText_, smsTextShown_), 1, 0);
    smsGrid->addWidget(smsText_, 1, 1);
    smsGrid->addWidget(smsTextShown_, 1, 2);
    smsGrid->setColumnStretch(2, 1);

    autodialBox_ = new QGroupBox(QtText(texts_.autodialBox), this);
    autodialBox_->setObjectName(QStringLiteral("autodialBox"));
    autodialPhone_ = NewList(autodialBox_, QStringLiteral("autodialPhone"), none, phoneItem, kPhoneCount);
    autodialPhoneShown_ = NewShown(autodialBox_, QStringLiteral("autodialPhoneShown"));
    sound_ = NewList(autodialBox_, QStringLiteral("sound"), none, phoneItem, kSounds);
    auto* autodialGrid = new QGridLayout(autodialBox_);
    autodialGrid->addWidget(Naming(QtText(texts_.phoneLabel), autodialPhone_, autodialPhoneShown_), 0, 0);
    autodialGrid->addWidget(autodialPhone_, 0, 1);
    autodialGrid->addWidget(autodialPhoneShown_, 0, 2);
    autodialGrid->addWidget(Naming(QtText(texts_.soundLabel), sound_), 1, 0);
    autodialGrid->addWidget(sound_, 1, 1);
    autodialGrid->setColumnStretch(2, 1);

    zoneTypeBox_ = new QGroupBox(QtText(texts_.zoneTypeBox), this);
    zoneTypeBox_->setObjectName(QStringLiteral("zoneTypeBox"));
    alarm_ = new QComboBox(zoneTypeBox_);
    alarm_->setObjectName(QStringLiteral("alarm"));
    for (const char* condition : texts_.alarmConditions) alarm_->addItem(QtText(condition));
    auto* zoneTypeRow = new QHBoxLayout(zoneTypeBox_);
    zoneTypeRow->addWidget(Naming(QtText(texts_.alarmLabel), alarm_));
    zoneTypeRow->addWidget(alarm_);
    zoneTypeRow->addStretch(1);
    KeepPlace(autodialBox_);
    KeepPlace(zoneTypeBox_);

    auto* left = new QVBoxLayout;
    left->addWidget(groupsBox);
    left->addWidget(actionsBox);
    left->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(smsBox);
    right->addWidget(autodialBox_);
    right->addWidget(zoneTypeBox_);
    right->addStretch(1);
    auto* columns = new QHBoxLayout(this);
    columns->addLayout(left);
    columns->addLayout(right, 1);

    connect(groups_, &QButtonGroup::idClicked, this, &ZonesPage::ChooseGroup);
    connect(actions_, &QButtonGroup::idClicked, this, &ZonesPage::ChooseAction);
    connect(smsPhone_, &QComboBox::activated, this, &ZonesPage::ChooseSmsPhone);
    connect(smsText_, &QComboBox::activated, this, &ZonesPage::ChooseSmsText);
    connect(autodialPhone_, &QComboBox::activated, this, &ZonesPage::ChooseAutodialPhone);
    connect(sound_, &QComboBox::activated, this, &ZonesPage::ChooseSound);
    connect(alarm_, &QComboBox::activated, this, &ZonesPage::ChooseAlarm);

    groups_->button(0)->setChecked(true);
    actions_->button(0)->setChecked(true);
    RefreshFromModel();
}

std::uint8_t& ZonesPage::SmsAction() { return Model().settings.zoneActions[group_][action_]; }

std::uint8_t& ZonesPage::AutodialAction() { return Model().settings.zoneActions[group_][4 + action_]; }

QString ZonesPage::PhoneShown(int phone) {
    if (phone < 1 || phone > kPhoneCount) return {};
    const std::string& number = Model().settings.phones[phone - 1];
    return FromCp1251(number.starts_with('-') ? std::string_view(number).substr(1) : std::string_view(number));
}

void ZonesPage::RefreshFromModel() {
    const ConfigSettings& settings = Model().settings;
    const std::uint8_t sms = settings.zoneActions[group_][action_];
    const std::uint8_t autodial = settings.zoneActions[group_][4 + action_];

    // A phone beyond #8 (only a foreign image holds one) shows as no choice.
    const auto phoneIndex = [](int phone) { return phone <= kPhoneCount ? phone : -1; };
    const int smsPhone = PhoneOf(sms);
    int smsText = SecondOf(sms);
    if (smsText > GetProfile().textCount) smsText = 0;
    const int autodialPhone = PhoneOf(autodial);
    int sound = SecondOf(autodial) & 3;
    if (smsPhone == 0) smsText = 0;
    if (autodialPhone == 0) sound = 0;

    smsPhone_->setCurrentIndex(phoneIndex(smsPhone));
    smsPhoneShown_->setText(PhoneShown(smsPhone));
    smsText_->setCurrentIndex(smsText);
    smsText_->setEnabled(smsPhone != 0);
    smsTextShown_->setText(smsText == 0 ? QString() : FromCp1251(settings.texts[smsText - 1]));
    smsTextShown_->setCursorPosition(0);
    autodialPhone_->setCurrentIndex(phoneIndex(autodialPhone));
    autodialPhoneShown_->setText(PhoneShown(autodialPhone));
    sound_->setCurrentIndex(sound);
    sound_->setEnabled(autodialPhone != 0);
    alarm_->setCurrentIndex(settings.zoneType[group_] ? 1 : 0);
}

void ZonesPage::ChooseGroup(int group) {
    group_ = group;
    const bool testSms = group == kTestSmsGroup;
    autodialBox_->setVisible(!testSms);
    zoneTypeBox_->setVisible(!testSms || testSmsHasZoneType_);
    RefreshFromModel();
}

void ZonesPage::ChooseAction(int action) {
    action_ = action;
    RefreshFromModel();
}

void ZonesPage::ChooseSmsPhone(int phone) {
    SetPhone(SmsAction(), phone);
    RefreshFromModel();
}

void ZonesPage::ChooseSmsText(int text) {
    SetSecond(SmsAction(), text);
    RefreshFromModel();
}

void ZonesPage::ChooseAutodialPhone(int phone) {
    SetPhone(AutodialAction(), phone);
    RefreshFromModel();
}

void ZonesPage::ChooseSound(int sound) {
    SetSecond(AutodialAction(), sound);
    RefreshFromModel();
}

void ZonesPage::ChooseAlarm(int condition) {
    Model().settings.zoneType[group_] = condition == 1;
    RefreshFromModel();
}

}  // namespace korvex
