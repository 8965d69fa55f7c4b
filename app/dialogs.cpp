#include "app/dialogs.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QPushButton>
#include <QUrl>

#include "app/program_settings.h"

namespace korvex {

namespace {

// The program's short name: a window title would be cut off in the box's frame.
QString BoxTitle() { return QApplication::applicationDisplayName(); }

// Yes and No, Escape answering No; true for Yes.
bool YesOrNo(QWidget* parent, const QString& text, QMessageBox::StandardButton byDefault) {
    QMessageBox box(QMessageBox::Question, BoxTitle(), text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(byDefault);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace

void Dialogs::Message(QWidget* parent, QMessageBox::Icon icon, const QString& text, const QString& detail) {
    QMessageBox box(icon, BoxTitle(), text, QMessageBox::Ok, parent);
    if (!detail.isEmpty()) box.setInformativeText(detail);
    box.exec();
}

bool Dialogs::Confirm(QWidget* parent, const QString& text) { return YesOrNo(parent, text, QMessageBox::No); }

namespace {

const QString kLastFolder = QStringLiteral("lastFolder");

QString AskFileName(QWidget* parent, QFileDialog::AcceptMode mode, const QString& title, const QString& filter,
                    const QString& suffix) {
    QFileDialog dialog(parent, title, ProgramSettings().value(kLastFolder).toString(), filter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

}  // namespace

QString Dialogs::OpenFileName(QWidget* parent, const QString& title, const QString& filter, const QString& suffix) {
    return AskFileName(parent, QFileDialog::AcceptOpen, title, filter, suffix);
}

bool Dialogs::Ask(QWidget* parent, const QString& text) { return YesOrNo(parent, text, QMessageBox::Yes); }

bool Dialogs::Choose(QWidget* parent, const QString& text, const QString& go, const QString& hold) {
    QMessageBox box(QMessageBox::Question, BoxTitle(), text, QMessageBox::NoButton, parent);
    QPushButton* goButton = box.addButton(go, QMessageBox::AcceptRole);
    QPushButton* holdButton = box.addButton(hold, QMessageBox::RejectRole);
    box.setDefaultButton(holdButton);
    box.setEscapeButton(holdButton);
    box.exec();
    return box.clickedButton() == goButton;
}

Dialogs::SaveChoice Dialogs::AskSave(QWidget* parent, const QString& text, const QString& discard) {
    QMessageBox box(QMessageBox::Question, BoxTitle(), text,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.button(QMessageBox::Discard)->setText(discard);
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
        case QMessageBox::Save: return SaveChoice::Save;
        case QMessageBox::Discard: return SaveChoice::Discard;
        default: return SaveChoice::Cancel;
    }
}

QString Dialogs::SaveFileName(QWidget* parent, const QString& title, const QString& filter, const QString& suffix) {
    return AskFileName(parent, QFileDialog::AcceptSave, title, filter, suffix);
}

void Dialogs::FileUsed(const QString& path) { ProgramSettings().setValue(kLastFolder, QFileInfo(path).absolutePath()); }

QString Dialogs::Remembered(const QString& key) { return ProgramSettings().value(key).toString(); }

void Dialogs::Remember(const QString& key, const QString& value) { ProgramSettings().setValue(key, value); }

bool Dialogs::OpenDocument(const QString& path) { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); }

}  // namespace korvex
