#include "config/SettingsReporter.h"

#include <QDir>

QString MalformedIntegerMessage(const QString& file, const QString& section, const QString& key,
                                const QString& text) {
    return QStringLiteral("%1: [%2] %3=%4 is not a whole number; the default is used instead.")
        .arg(QDir::toNativeSeparators(file), section, key, text);
}
