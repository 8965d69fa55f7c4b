#include "app/dialogs.h"

#include <QApplication>
#include <QFileDialog>

namespace korvex {

void Dialogs::Message(QWidget* parent, QMessageBox::Icon icon, const QString& text, const QString& detail) {
    // Titled like the program's main window, as the framework's boxes are.
    const QString title = parent ? parent->window()->windowTitle() : QApplication::applicationName();
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    if (!detail.isEmpty()) box.setInformativeText(detail);
    box.exec();
}

namespace {

QString AskFileName(QWidget* parent, QFileDialog::AcceptMode mode, const QString& title, const QString& filter,
                    const QString& suffix) {
    QFileDialog dialog(parent, title, QString(), filter);
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

bool Dialogs::Ask(QWidget* parent, const QString& text) {
    const QString title = parent ? parent->window()->windowTitle() : QApplication::applicationName();
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

QString Dialogs::SaveFileName(QWidget* parent, const QString& title, const QString& filter, const QString& suffix) {
    return AskFileName(parent, QFileDialog::AcceptSave, title, filter, suffix);
}

}  // namespace korvex
