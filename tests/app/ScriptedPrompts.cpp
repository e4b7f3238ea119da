#include "ScriptedPrompts.h"

bool ScriptedPrompts::AskYesNo(QWidget*, const QString& title, const QString& text) {
    titles << title;
    questions << text;
    if (answers.empty()) {
        ++unscriptedQuestions;
        return false;
    }
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

YesNoAnswer ScriptedPrompts::AskYesNoOrCancel(QWidget* parent, const QString& title,
                                              const QString& text) {
    return AskYesNo(parent, title, text) ? YesNoAnswer::Yes : YesNoAnswer::No;
}

void ScriptedPrompts::ShowWarning(QWidget*, const QString& title, const QString& text) {
    titles << title;
    warnings << text;
}

void ScriptedPrompts::ShowInformation(QWidget*, const QString& title, const QString& text) {
    titles << title;
    informations << text;
}

bool ScriptedPrompts::AskOkOrStop(QWidget* parent, const QString& title, const QString& text,
                                  const QString&) {
    return AskYesNo(parent, title, text);
}

QString ScriptedPrompts::NextFile() {
    ++fileDialogs;
    if (files.empty())
        return {};
    const QString file = files.front();
    files.pop_front();
    return file;
}

QString ScriptedPrompts::ChooseOpenFile(QWidget*, const QString& folder, const QString& filter) {
    lastFolder = folder;
    lastFilter = filter;
    return NextFile();
}

QString ScriptedPrompts::ChooseSaveFile(QWidget*, const QString& folder,
                                        const QString& proposedName, const QString& filter) {
    lastFolder = folder;
    lastProposedName = proposedName;
    lastFilter = filter;
    return NextFile();
}
