#include "app/MessageBoxPrompts.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

bool MessageBoxPrompts::AskYesNo(QWidget* parent, const QString& title, const QString& text) {
    return AskYesNoOrCancel(parent, title, text) == YesNoAnswer::Yes;
}

YesNoAnswer MessageBoxPrompts::AskYesNoOrCancel(QWidget* parent, const QString& title,
                                                const QString& text) {
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, parent);
    // No is the default: Enter pressed by habit must not discard a list or quit.
    box.setDefaultButton(QMessageBox::No);
    // Left to itself the box takes No for Escape and for its close button. A Cancel button that
    // is never shown takes both instead, so that they leave everything as it was.
    QPushButton* cancel = box.addButton(QMessageBox::Cancel);
    cancel->hide();
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == box.button(QMessageBox::Yes))
        return YesNoAnswer::Yes;
    if (box.clickedButton() == box.button(QMessageBox::No))
        return YesNoAnswer::No;
    return YesNoAnswer::Cancelled;
}

void MessageBoxPrompts::ShowWarning(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::warning(parent, title, text);
}

void MessageBoxPrompts::ShowInformation(QWidget* parent, const QString& title,
                                        const QString& text) {
    QMessageBox::information(parent, title, text);
}

bool MessageBoxPrompts::AskOkOrStop(QWidget* parent, const QString& title, const QString& text,
                                    const QString& stopText) {
    QMessageBox box(QMessageBox::Information, title, text, QMessageBox::Ok, parent);
    // Escape and the close button take the escape button: the box goes on only when the user
    // says the thing is done.
    QPushButton* stop = box.addButton(stopText, QMessageBox::RejectRole);
    box.setEscapeButton(stop);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
    return box.clickedButton() == box.button(QMessageBox::Ok);
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
