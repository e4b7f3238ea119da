// Where the program's logging categories (clipwright.link, .engine, .devices, .files) write:
// every message of theirs that is switched on goes to the program folder's log file as one
// line, and on to standard error as usual. All of them are off until switched on by
// QT_LOGGING_RULES, clipwright-cli --verbose or [Setup] Log=1 in cw20.ini.
#pragma once

#include <QtGlobal>
#include <memory>

#include "config/LogFile.h"

class SettingsFile;

class ProgramLog {
public:
    // Takes over the process's message handler until destroyed; one at a time.
    explicit ProgramLog(const QString& folder);
    ~ProgramLog();
    ProgramLog(const ProgramLog&) = delete;
    ProgramLog& operator=(const ProgramLog&) = delete;

    LogFile& File() { return file_; }

    // Switches the categories' information messages on; QT_LOGGING_RULES still has the last
    // word (it can switch them off again, or add the per-exchange debug lines).
    static void SwitchOn();
    // SwitchOn when verbose is set or the settings say [Setup] Log=1.
    static void SwitchOnAsConfigured(const SettingsFile& settings, bool verbose);

    // The line written for one message: UTC time to the millisecond, category, text.
    static QString Line(const QMessageLogContext& context, const QString& text);

private:
    static void Handle(QtMsgType type, const QMessageLogContext& context, const QString& text);

    LogFile file_;
};
