// The hook through which the settings file tells its user about a stored value it could not use.
// The main window shows a message box; the command-line program prints to standard error.
#pragma once

#include <QString>

class SettingsReporter {
public:
    virtual ~SettingsReporter() = default;
    // A value that should be an integer is some other text; the caller goes on with its default.
    virtual void ReportMalformedInteger(const QString& file, const QString& section,
                                        const QString& key, const QString& text) = 0;
};

// The one wording of that report, shared by every implementation of the hook.
QString MalformedIntegerMessage(const QString& file, const QString& section, const QString& key,
                                const QString& text);
