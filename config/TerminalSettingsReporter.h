// The settings report for programs without windows (clipwright-cli): one line on standard error.
#pragma once

#include "config/SettingsReporter.h"

class TerminalSettingsReporter : public SettingsReporter {
public:
    void ReportMalformedInteger(const QString& file, const QString& section, const QString& key,
                                const QString& text) override;
};
