// A user for the tools that run the whole program unattended (benchmark, screenshots): every
// question is answered Yes, every message is taken as read at once and the last one kept.
#pragma once

#include "app/UserPrompts.h"

class QuietPrompts : public UserPrompts {
public:
    bool AskYesNo(QWidget*, const QString&, const QString&) override { return true; }
    YesNoAnswer AskYesNoOrCancel(QWidget*, const QString&, const QString&) override {
        return YesNoAnswer::Yes;
    }
    void ShowWarning(QWidget*, const QString&, const QString& text) override { lastMessage = text; }
    void ShowInformation(QWidget*, const QString&, const QString& text) override {
        lastMessage = text;
    }
    bool AskOkOrStop(QWidget*, const QString&, const QString& text, const QString&) override {
        lastMessage = text;
        return true;
    }
    QString ChooseOpenFile(QWidget*, const QString&, const QString&) override { return {}; }
    QString ChooseSaveFile(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }

    QString lastMessage;
};
