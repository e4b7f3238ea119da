#include "app/MessageBoxPrompts.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

bool MessageBoxPrompts::AskYesNo(QWidget* parent, const QString& title, const QString& text) {
    // No is the default: Enter pressed by habit must not discard a list or quit.
    return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

void MessageBoxPrompts::ShowWarning(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::warning(parent, title, text);
}

void MessageBoxPrompts::ShowInformation(QWidget* parent, const QString& title,
                                        const QString& text) {
    QMessageBox::information(parent, title, text);
}

QString MessageBoxPrompts::ChooseOpenFile(QWidget* parent, const QString& folder,
                                          const QString& filter) {
    return QFileDialog::getOpenFileName(parent, QString(), folder, filter);
}

QString MessageBoxPrompts::ChooseSaveFile(QWidget* parent, const QString& folder,
                                          const QString& proposedName, const QString& filter) {
    // The overwrite question is the project file layer's, with the program's own texts.
    return QFileDialog::getSaveFileName(parent, QString(), QDir(folder).filePath(proposedName),
                                        filter, nullptr, QFileDialog::DontConfirmOverwrite);
}
