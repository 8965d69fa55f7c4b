#include "app/manual.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "app/dialogs.h"
#include "app/qt_paths.h"

namespace korvex {

namespace {

constexpr const char* kPage = "index.html";

struct ManualTexts {
    const char* language;   // the manual's folder
    const char* missing;    // %1: the folders looked in, one a line
    const char* notOpened;  // %1: the page
};

constexpr ManualTexts kRussian{
    .language = "ru",
    .missing = "Руководство пользователя не найдено. Оно должно лежать в одной из папок:\n%1",
    .notOpened = "Не удалось открыть руководство пользователя «%1»: в системе нет программы для просмотра HTML.",
};
constexpr ManualTexts kEnglish{
    .language = "en",
    .missing = "The user manual was not found. It belongs in one of these folders:\n%1",
    .notOpened = "Could not open the user manual \"%1\": the system has no program that shows HTML.",
};

const ManualTexts& ManualTextsFor(ModuleKind kind) { return kind == ModuleKind::Full ? kRussian : kEnglish; }

}  // namespace

QStringList ManualFolders() {
    const QString program = QCoreApplication::applicationDirPath();
    QStringList folders{QDir::cleanPath(program + QStringLiteral("/../share/korvex/manual")),
                        QDir::cleanPath(program + QStringLiteral("/manual"))};
#ifdef KORVEX_MANUAL_SOURCE_DIR
    folders << QStringLiteral(KORVEX_MANUAL_SOURCE_DIR);
#endif
    return folders;
}

QString FindManual(const QString& language, const QStringList& folders) {
    const QString other = language == QLatin1String("ru") ? QStringLiteral("en") : QStringLiteral("ru");
    for (const QString& wanted : {language, other}) {
        for (const QString& folder : folders) {
            const QString page = QDir(folder).filePath(wanted + QLatin1Char('/') + QLatin1String(kPage));
            if (QFileInfo(page).isFile()) return QFileInfo(page).absoluteFilePath();
        }
    }
    return {};
}

void OpenManual(AppModel& model, QWidget* parent, const QStringList& folders) {
    const ManualTexts& texts = ManualTextsFor(model.profile.kind);
    const QString page = FindManual(QString::fromLatin1(texts.language), folders);
    if (page.isEmpty()) {
        model.dialogs->Message(parent, QMessageBox::Warning,
                               QtText(texts.missing).arg(QDir::toNativeSeparators(folders.join(QLatin1Char('\n')))));
        return;
    }
    if (!model.dialogs->OpenDocument(page))
        model.dialogs->Message(parent, QMessageBox::Warning,
                               QtText(texts.notOpened).arg(QDir::toNativeSeparators(page)));
}

}  // namespace korvex
