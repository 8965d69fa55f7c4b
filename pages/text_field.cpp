#include "pages/text_field.h"

#include <QLineEdit>
#include <QMessageBox>

#include "app/dialogs.h"
#include "widgets/translit_edit.h"

#include <algorithm>

#include "model/cp1251.h"
#include "model/gsm_alphabet.h"

namespace korvex {
namespace {

constexpr const char* kTypingLimit = "korvexTypingLimit";

int TypingLimit(const QLineEdit* edit) {
    const QVariant limit = edit->property(kTypingLimit);
    return limit.isValid() ? limit.toInt() : edit->maxLength();
}

void Tighten(QLineEdit* edit) { edit->setMaxLength(std::max(TypingLimit(edit), static_cast<int>(edit->text().size()))); }

// The refusal in the program's language: %1 the character, %2 its code.
struct RefusalTexts {
    const char* noCode;
    const char* noGsm;
    const char* malformed;
    const char* notGsm;    // stored without the character
    const char* notTyped;  // refused as it is typed
};
constexpr RefusalTexts kRussianRefusal = {
    "Текст не сохранён: символа «%1» (%2) нет в кодовой странице 1251.",
    "Текст не сохранён: символа «%1» (%2) нет в 7-битном алфавите GSM.",
    "Текст не сохранён: в нём есть недопустимые символы.",
    "Символа «%1» (%2) нет в 7-битном алфавите GSM: он не сохраняется и не считается, остальной текст сохранён.",
    "Символ «%1» (%2) не вводится: модуль не может его сохранить в этом поле.",
};
constexpr RefusalTexts kEnglishRefusal = {
    "The text was not stored: code page 1251 has no code for the character \"%1\" (%2).",
    "The text was not stored: the GSM 7-bit alphabet has no character \"%1\" (%2).",
    "The text was not stored: it holds invalid characters.",
    "The GSM 7-bit alphabet has no character \"%1\" (%2): it is neither stored nor counted; the rest of the text "
    "was stored.",
    "The character \"%1\" (%2) cannot be typed: the module cannot store it in this field.",
};

const RefusalTexts& RefusalTextsFor(ModuleKind kind) { return kind == ModuleKind::Full ? kRussianRefusal : kEnglishRefusal; }

QString NamingCharacter(const char* text, char32_t character) {
    const QString code = QStringLiteral("U+%1").arg(static_cast<uint>(character), 4, 16, QChar(u'0'));
    return QString::fromUtf8(text).arg(QString::fromUcs4(&character, 1), code.toUpper());
}

QString RefusalMessage(const Cp1251Error& error, ModuleKind kind) {
    const RefusalTexts& texts = RefusalTextsFor(kind);
    if (error.kind == Cp1251Error::Kind::BadUtf8) return QString::fromUtf8(texts.malformed);
    return NamingCharacter(texts.noCode, error.character);
}

// The edit shows the stored value again before the box opens.
bool Refuse(QLineEdit* edit, const std::string& target, const QString& message, Dialogs& dialogs) {
    ShowWhole(edit, FromCp1251(target), TypingLimit(edit));
    dialogs.Message(edit->window(), QMessageBox::Warning, message);
    return false;
}

}  // namespace

QString FromCp1251(std::string_view bytes) { return QString::fromStdString(Cp1251ToUtf8(bytes)); }

bool StoreCp1251(QLineEdit* edit, std::string& target, ModuleKind kind, Dialogs& dialogs) {
    const Cp1251Result result = Utf8ToCp1251(edit->text().toStdString());
    if (!result.Ok()) return Refuse(edit, target, RefusalMessage(*result.error, kind), dialogs);
    target = result.bytes;
    return true;
}

void MarkNotGsm(QWidget* widget, const QString& tip) {
    // An empty palette inherits the window's again.
    QPalette palette;
    if (!tip.isEmpty()) {
        palette = widget->palette();
        palette.setColor(QPalette::Text, Qt::red);
        palette.setColor(QPalette::WindowText, Qt::red);
    }
    widget->setPalette(palette);
    widget->setToolTip(tip);
}

QString NotGsmTip(const QString& text, ModuleKind kind) {
    for (const char32_t c : text.toUcs4())
        if (!GsmCodeOf(c)) return NamingCharacter(RefusalTextsFor(kind).notGsm, c);
    return {};
}

bool StoreGsmText(QLineEdit* edit, std::string& target, ModuleKind kind, Dialogs& dialogs) {
    const Cp1251Result result = Utf8ToCp1251(edit->text().toStdString());
    if (!result.Ok()) return Refuse(edit, target, RefusalMessage(*result.error, kind), dialogs);
    QString kept;
    for (const char32_t c : edit->text().toUcs4())
        if (GsmCodeOf(c)) kept += QString::fromUcs4(&c, 1);
    target = Utf8ToCp1251(kept.toStdString()).bytes;
    // Marked while the text holds the character, told once per text: the
    // box takes the focus away and the edit is stored once more meanwhile.
    const QString tip = NotGsmTip(edit->text(), kind);
    MarkNotGsm(edit, tip);
    constexpr const char* kTold = "korvexToldNotGsm";
    if (tip.isEmpty() || edit->property(kTold).toString() == edit->text()) return true;
    edit->setProperty(kTold, edit->text());
    dialogs.Message(edit->window(), QMessageBox::Warning, tip);
    return true;
}

void TellRefusedTyping(TranslitEdit* edit, ModuleKind kind, std::unique_ptr<Dialogs>& dialogs) {
    QObject::connect(edit, &TranslitEdit::CharacterRefused, edit, [edit, kind, &dialogs](char32_t character) {
        dialogs->Message(edit->window(), QMessageBox::Warning,
                         NamingCharacter(RefusalTextsFor(kind).notTyped, character));
    });
}

void ShowWhole(QLineEdit* edit, const QString& text, int limit) {
    if (!edit->property(kTypingLimit).isValid()) {
        QObject::connect(edit, &QLineEdit::textEdited, edit, [edit] { Tighten(edit); });
    }
    edit->setProperty(kTypingLimit, limit);
    edit->setMaxLength(std::max(limit, static_cast<int>(text.size())));
    edit->setText(text);
}

}  // namespace korvex
