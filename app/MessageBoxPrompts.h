// The user prompts as the program shows them: modal message boxes and the file dialogs.
#pragma once

#include "app/UserPrompts.h"

class MessageBoxPrompts : public UserPrompts {
public:
    bool AskYesNo(QWidget* parent, const QString& title, const QString& text) override;
    YesNoAnswer AskYesNoOrCancel(QWidget* parent, const QString& title,
                                 const QString& text) override;
    void ShowWarning(QWidget* parent, const QString& title, const QString& text) override;
    void ShowInformation(QWidget* parent, const QString& title, const QString& text) override;
    bool AskOkOrStop(QWidget* parent, const QString& title, const QString& text,
                     const QString& stopText) override;
    QString ChooseOpenFile(QWidget* parent, const QString& folder, const QString& filter) override;
    QString ChooseSaveFile(QWidget* parent, const QString& folder, const QString& proposedName,
                           const QString& filter) override;
};
