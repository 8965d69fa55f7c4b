#include "app/dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>

namespace korvex {

namespace {

// The program's short name: a window title would be cut off in the box's frame.
QString BoxTitle() { return QApplication::applicationDisplayName(); }

}  // namespace

void Dialogs::Message(QWidget* parent, QMessageBox::Icon icon, const QString& text, const QString& detail) {
    QMessageBox box(icon, BoxTitle(), text, QMessageBox::Ok, parent);
    if (!detail.isEmpty()) box.setInformativeText(detail);
    box.exec();
}

bool Dialogs::Confirm(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Question, BoxTitle(), text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

namespace {

QString AskFileName(QWidget* parent, QFileDialog::AcceptMode mode, const QString& title, const QString& filter,
                    const QString& suffix) {
    // Starts in the folder used last, kept under the program's name.
    QSettings settings(QApplication::organizationName().isEmpty() ? QApplication::applicationName()
                                                                 : QApplication::organizationName(),
                       QApplication::applicationName());
    QFileDialog dialog(parent, title, settings.value(QStringLiteral("lastFolder")).toString(), filter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    const QString chosen = dialog.selectedFiles().first();
    settings.setValue(QStringLiteral("lastFolder"), QFileInfo(chosen).absolutePath());
    return chosen;
}

}  // namespace

QString Dialogs::OpenFileName(QWidget* parent, const QString& title, const QString& filter, const QString& suffix) {
    return AskFileName(parent, QFileDialog::AcceptOpen, title, filter, suffix);
}

bool Dialogs::Ask(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Question, BoxTitle(), text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

QString Dialogs::SaveFileName(QWidget* parent, const QString& title, const QString& filter, const QString& suffix) {
    return AskFileName(parent, QFileDialog::AcceptSave, title, filter, suffix);
}

}  // namespace korvex
