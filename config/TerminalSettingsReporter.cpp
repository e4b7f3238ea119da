#include "config/TerminalSettingsReporter.h"

#include <cstdio>

void TerminalSettingsReporter::ReportMalformedInteger(const QString& file, const QString& section,
                                                      const QString& key, const QString& text) {
    const QByteArray line =
        (MalformedIntegerMessage(file, section, key, text) + u'\n').toLocal8Bit();
    std::fputs(line.constData(), stderr);
}
