// A user who answers the main window's questions from a script and remembers what was asked,
// so that the window tests never wait on a modal box or a file dialog.
#pragma once

#include <QStringList>
#include <deque>

#include "app/UserPrompts.h"

class ScriptedPrompts : public UserPrompts {
public:
    // Answers in order; a question beyond the script is answered No and counted.
    std::deque<bool> answers;
    // File choices in order; an empty entry (or none left) is a cancelled dialog.
    std::deque<QString> files;

    QStringList questions;
    QStringList warnings;
    QStringList informations;
    QStringList titles;  // the title of every box shown
    int unscriptedQuestions = 0;
    int fileDialogs = 0;
    QString lastProposedName;
    QString lastFolder;  // where the last file dialog opened
    QString lastFilter;

    bool AskYesNo(QWidget* parent, const QString& title, const QString& text) override;
    YesNoAnswer AskYesNoOrCancel(QWidget* parent, const QString& title,
                                 const QString& text) override;
    void ShowWarning(QWidget* parent, const QString& title, const QString& text) override;
    void ShowInformation(QWidget* parent, const QString& title, const QString& text) override;
    // Answered from the same script as the Yes/No questions: true is OK.
    bool AskOkOrStop(QWidget* parent, const QString& title, const QString& text,
                     const QString& stopText) override;
    QString ChooseOpenFile(QWidget* parent, const QString& folder, const QString& filter) override;
    QString ChooseSaveFile(QWidget* parent, const QString& folder, const QString& proposedName,
                           const QString& filter) override;

private:
    QString NextFile();
};
