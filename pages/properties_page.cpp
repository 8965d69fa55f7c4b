#include "pages/properties_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

#include <array>

#include "model/config_settings.h"
#include "app/qt_paths.h"
#include "pages/field_events.h"
#include "model/properties_texts.h"
#include "pages/text_field.h"
#include "widgets/digit_edit.h"
#include "widgets/translit_edit.h"

namespace korvex {
namespace {

constexpr int kDurationDigits = 2;
constexpr int kHourDigits = 2;

constexpr int kDailyEntry = 1;
// testSmsCode of each list entry; the daily entry's code is the hour.
constexpr std::array<std::uint8_t, 9> kTestSmsCodes = {kTestSmsNone, 0, 0x81, 0x82, 0x83, 0x84, 0x86, 0x88, 0x8C};

QValidator* Accepting(const char* pattern, QObject* parent) {
    return new QRegularExpressionValidator(QRegularExpression(QString::fromLatin1(pattern)), parent);
}

QLineEdit* NewEdit(QWidget* parent, const QString& name, int chars) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setMaxLength(chars);
    // Room for the characters and the frame, no more: short fields look short.
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QString(chars + 1, u'W')) + 12);
    return edit;
}

QString TwoDigits(int value) { return QStringLiteral("%1").arg(value, 2, 10, QChar(u'0')); }

std::string DropMark(const std::string& number) {
    return !number.empty() && (number[0] == '+' || number[0] == '-') ? number.substr(1) : number;
}

}  // namespace

int PropertiesPage::TestSmsEntry(std::uint8_t code) {
    if (code <= kTestSmsLastHour) return kDailyEntry;
    for (int entry = 0; entry < static_cast<int>(kTestSmsCodes.size()); ++entry) {
        if (entry != kDailyEntry && kTestSmsCodes[entry] == code) return entry;
    }
    return 0;
}

PropertiesPage::PropertiesPage(AppModel& model, QWidget* parent)
    : Page(PageId::Properties, model, parent),
      texts_(PropertiesTextsFor(model.profile.kind)),
      events_(new FieldEvents(this)) {
    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(10);
    int row = 0;
    // One labelled row: the label, then the controls side by side.
    const auto addRow = [&](const char* label, std::initializer_list<QWidget*> controls) {
        auto* line = new QHBoxLayout;
        line->setSpacing(6);
        for (QWidget* control : controls) line->addWidget(control);
        line->addStretch(1);
        auto* text = new QLabel(label ? QtText(label) : QString(), this);
        for (QWidget* control : controls) {
            if (qobject_cast<QLabel*>(control)) continue;  // a fixed mark such as "+"
            text->setBuddy(control);
            break;
        }
        grid->addWidget(text, row, 0);
        grid->addLayout(line, row, 1);
        ++row;
    };

    if (texts_.objectName) {
        objectName_ = new TranslitEdit(this);
        objectName_->setObjectName(QStringLiteral("objectName"));
        objectName_->setMaxLength(kObjectNameMax);
        TellRefusedTyping(objectName_, model.profile.kind, model.dialogs);
        objectName_->setFixedWidth(objectName_->fontMetrics().horizontalAdvance(QString(kObjectNameMax, u'x')) + 16);
        addRow(texts_.objectName, {objectName_});
        events_->OnFocusLost(objectName_, [this] { StoreObjectName(); });
    }

    password_ = NewEdit(this, QStringLiteral("password"), kPasswordMax);
    // The module keeps 7 bits a character: only ASCII survives.
    password_->setValidator(Accepting("[\\x20-\\x7E]*", password_));
    addRow(texts_.password, {password_});
    events_->OnFocusLost(password_, [this] { StorePassword(); });

    duration_ = NewEdit(this, QStringLiteral("duration"), kDurationDigits + 1);
    duration_->setValidator(Accepting("[0-9]{0,2}", duration_));
    trigger_ = new QCheckBox(QtText(texts_.trigger), this);
    trigger_->setObjectName(QStringLiteral("trigger"));
    addRow(texts_.duration, {duration_, trigger_});
    events_->OnFocusLost(duration_, [this] { StoreDuration(); });
    connect(trigger_, &QCheckBox::clicked, this, [this] { SwitchTrigger(); });

    smsc_ = NewEdit(this, QStringLiteral("smsc"), kPhoneMaxDigits);
    smsc_->setValidator(Accepting("[0-9]*", smsc_));
    addRow(texts_.smsc, {new QLabel(QtText(texts_.smscPrefix), this), smsc_});
    events_->OnFocusLost(smsc_, [this] { StoreSmsc(); });

    cycles_ = new DigitEdit(this);
    cycles_->setObjectName(QStringLiteral("cycles"));
    cycles_->setMaxLength(1);
    cycles_->setFixedWidth(cycles_->fontMetrics().horizontalAdvance(QStringLiteral("WW")) + 12);
    addRow(texts_.cycles, {cycles_});
    events_->OnFocusLost(cycles_, [this] { StoreCycles(); });

    testSms_ = new QComboBox(this);
    testSms_->setObjectName(QStringLiteral("testSms"));
    for (const char* period : texts_.testSmsPeriods) testSms_->addItem(QtText(period));
    hour_ = NewEdit(this, QStringLiteral("hour"), kHourDigits);
    hour_->setValidator(Accepting("([01]?[0-9]|2[0-4])?", hour_));
    hour_->setEnabled(false);
    auto* hourLabel = new QLabel(QtText(texts_.hourBefore), this);
    hourLabel->setBuddy(hour_);
    addRow(texts_.testSms, {testSms_, hourLabel, hour_, new QLabel(QtText(texts_.hourAfter), this)});
    events_->OnFocusLost(hour_, [this] { StoreHour(); });
    connect(testSms_, &QComboBox::activated, this, &PropertiesPage::ChooseTestSms);

    voice_ = new QComboBox(this);
    voice_->setObjectName(QStringLiteral("voice"));
    for (const char* timing : texts_.voiceTimings) voice_->addItem(QtText(timing));
    addRow(texts_.voice, {voice_});
    connect(voice_, &QComboBox::activated, this,
            [this](int entry) { Model().settings.voiceAfterPickup = entry == 0; });

    if (texts_.comSpeed) {
        comSpeed_ = new QComboBox(this);
        comSpeed_->setObjectName(QStringLiteral("comSpeed"));
        for (const char* speed : texts_.comSpeeds) comSpeed_->addItem(QtText(speed));
        addRow(texts_.comSpeed, {comSpeed_});
        connect(comSpeed_, &QComboBox::activated, this,
                [this](int entry) { Model().settings.comSpeed = static_cast<std::uint8_t>(entry + 1); });
    }

    grid->setColumnStretch(1, 1);
    grid->setRowStretch(row, 1);
    RefreshFromModel();
}

// No store may run once the page is being taken apart: a field that holds
// the focus loses it while its parent is destroyed.
PropertiesPage::~PropertiesPage() { delete events_; }

void PropertiesPage::RefreshFromModel() {
    const ConfigSettings& settings = Model().settings;
    ShowCycles();
    ShowWhole(password_, FromCp1251(settings.pgmPassword), kPasswordMax);
    if (objectName_) ShowWhole(objectName_, FromCp1251(settings.objectName), kObjectNameMax);

    const int entry = TestSmsEntry(settings.testSmsCode);
    testSms_->setCurrentIndex(entry);
    hour_->setText(entry == kDailyEntry ? TwoDigits(settings.testSmsCode) : QStringLiteral("00"));
    hour_->setEnabled(entry == kDailyEntry);

    // An erased module holds 255 seconds: shown whole, typing stays at 2 digits.
    ShowWhole(duration_, TwoDigits(settings.pgmSeconds), kDurationDigits);
    ShowTrigger(settings.pgmSeconds == 0);
    ShowWhole(smsc_, FromCp1251(DropMark(settings.smscNumber)), kPhoneMaxDigits);
    voice_->setCurrentIndex(settings.voiceAfterPickup ? 0 : 1);
    // The COM speed is not in the image; its list keeps the user's choice.
}

void PropertiesPage::CommitEdits() { events_->StoreFocused(); }

void PropertiesPage::ShowCycles() {
    const std::uint8_t cycles = Model().settings.autodialCycles;
    cycles_->setText(QString::number(cycles >= 3 && cycles <= 9 ? cycles : 3));
}

void PropertiesPage::ShowTrigger(bool on) {
    trigger_->setChecked(on);
    duration_->setEnabled(!on);
}

void PropertiesPage::StoreObjectName() { StoreCp1251(objectName_, Model().settings.objectName, GetProfile().kind, *Model().dialogs); }

void PropertiesPage::StorePassword() { StoreCp1251(password_, Model().settings.pgmPassword, GetProfile().kind, *Model().dialogs); }

void PropertiesPage::StoreDuration() {
    const int seconds = duration_->text().toInt();
    Model().settings.pgmSeconds = static_cast<std::uint8_t>(seconds);
    ShowTrigger(seconds == 0);
}

void PropertiesPage::SwitchTrigger() {
    const bool on = trigger_->isChecked();
    ShowWhole(duration_, on ? QStringLiteral("0") : QStringLiteral("1"), kDurationDigits);
    duration_->setEnabled(!on);
    Model().settings.pgmSeconds = on ? 0 : 1;
}

void PropertiesPage::StoreSmsc() {
    std::string digits = DropMark(Model().settings.smscNumber);
    if (StoreCp1251(smsc_, digits, GetProfile().kind, *Model().dialogs)) Model().settings.smscNumber = "+" + digits;
}

void PropertiesPage::StoreCycles() {
    // Only 3 to 9 can be typed; an emptied field keeps what is stored.
    const QString text = cycles_->text();
    if (text.size() == 1 && text[0] >= u'3' && text[0] <= u'9') {
        Model().settings.autodialCycles = static_cast<std::uint8_t>(text[0].unicode() - u'0');
    } else {
        ShowCycles();
    }
}

void PropertiesPage::StoreHour() { Model().settings.testSmsCode = static_cast<std::uint8_t>(hour_->text().toInt()); }

void PropertiesPage::ChooseTestSms(int entry) {
    const bool daily = entry == kDailyEntry;
    Model().settings.testSmsCode = kTestSmsCodes[entry];
    hour_->setText(daily ? QStringLiteral("0") : QString());
    hour_->setEnabled(daily);
}

}  // namespace korvex
