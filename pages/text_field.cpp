#include "pages/text_field.h"

#include <QLineEdit>
#include <QMessageBox>

#include "app/dialogs.h"

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
};
constexpr RefusalTexts kRussianRefusal = {
    "Текст не сохранён: символа «%1» (%2) нет в кодовой странице 1251.",
    "Текст не сохранён: символа «%1» (%2) нет в 7-битном алфавите GSM.",
    "Текст не сохранён: в нём есть недопустимые символы.",
};
constexpr RefusalTexts kEnglishRefusal = {
    "The text was not stored: code page 1251 has no code for the character \"%1\" (%2).",
    "The text was not stored: the GSM 7-bit alphabet has no character \"%1\" (%2).",
    "The text was not stored: it holds invalid characters.",
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

bool StoreGsmText(QLineEdit* edit, std::string& target, ModuleKind kind, Dialogs& dialogs) {
    const Cp1251Result result = Utf8ToCp1251(edit->text().toStdString());
    if (!result.Ok()) return Refuse(edit, target, RefusalMessage(*result.error, kind), dialogs);
    if (const auto refusal = FindNonGsm(result.bytes))
        return Refuse(edit, target, NamingCharacter(RefusalTextsFor(kind).noGsm, refusal->character), dialogs);
    target = result.bytes;
    return true;
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
