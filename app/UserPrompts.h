// The questions, messages and file choices that the main window puts to the user. The program
// answers them with message boxes and file dialogs (MessageBoxPrompts); tests give a scripted
// answerer instead, so that no test waits on a modal box.
#pragma once

#include <QString>

class QWidget;

// What the user made of a Yes/No question: Escape and the box's close button answer neither.
enum class YesNoAnswer { Yes, No, Cancelled };

class UserPrompts {
public:
    virtual ~UserPrompts() = default;

    // Yes/No question with the question icon; true for Yes, false for No or a cancelled box.
    virtual bool AskYesNo(QWidget* parent, const QString& title, const QString& text) = 0;
    // The same box for a question whose No throws something away (the save question): only the
    // No button says No, so that Escape or closing the box cannot discard the user's work.
    virtual YesNoAnswer AskYesNoOrCancel(QWidget* parent, const QString& title,
                                         const QString& text) = 0;
    // Error or refusal: warning icon, OK.
    virtual void ShowWarning(QWidget* parent, const QString& title, const QString& text) = 0;
    // Completion: information icon, OK.
    virtual void ShowInformation(QWidget* parent, const QString& title, const QString& text) = 0;
    // Something the user does before the program goes on (a tape change): OK goes on; the Stop
    // button (its text stopText), Escape and the box's close button stop. True for OK.
    virtual bool AskOkOrStop(QWidget* parent, const QString& title, const QString& text,
                             const QString& stopText) = 0;

    // A file to open, or empty when the user cancelled. filter: "Description (*.a *.b)".
    virtual QString ChooseOpenFile(QWidget* parent, const QString& folder,
                                   const QString& filter) = 0;
    // A file name to save to (the overwrite question is the caller's), or empty on cancel.
    virtual QString ChooseSaveFile(QWidget* parent, const QString& folder,
                                   const QString& proposedName, const QString& filter) = 0;
};
