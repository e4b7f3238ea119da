#include "config/SettingsFile.h"

#include <QDir>

#include "config/SettingsReporter.h"
#include "config/StrictInteger.h"

namespace {

// Cuts at a character boundary so that a long path never ends in half a character.
QString CutToBytes(const QString& value, int maxBytes) {
    QByteArray bytes = value.toUtf8();
    if (bytes.size() <= maxBytes)
        return value;
    qsizetype end = maxBytes;
    while (end > 0 && (static_cast<unsigned char>(bytes[end]) & 0xC0) == 0x80)
        --end;
    bytes.truncate(end);
    return QString::fromUtf8(bytes);
}

}  // namespace

SettingsFile::SettingsFile(const QString& programDir)
    : programDir_(programDir), profile_(QDir(programDir).filePath(QStringLiteral("cw20.ini"))) {}

bool SettingsFile::ReadString(const QString& section, const QString& key, QString* value) const {
    const std::optional<QString> stored = profile_.Read(section, key);
    // An empty value counts as missing, so every caller falls back to its default.
    if (!stored || stored->isEmpty())
        return false;
    *value = CutToBytes(*stored, kMaxValueBytes);
    return true;
}

bool SettingsFile::WriteString(const QString& section, const QString& key,
                               const QString& value) const {
    return profile_.Write(section, key, value);
}

bool SettingsFile::WriteStrings(const QString& section,
                                const ProfileFile::KeyValues& values) const {
    return profile_.Write(section, values);
}

bool SettingsFile::ReadInteger(const QString& section, const QString& key, int32_t* value) const {
    QString text;
    if (!ReadString(section, key, &text))
        return false;
    const std::optional<int32_t> number = ParseStrictInteger(text);
    if (!number) {
        // Reported and then treated as missing: the caller carries on with its default instead
        // of abandoning whatever it was in the middle of.
        if (reporter_ != nullptr)
            reporter_->ReportMalformedInteger(iniPath(), section, key, text);
        return false;
    }
    *value = *number;
    return true;
}

bool SettingsFile::WriteInteger(const QString& section, const QString& key, int32_t value) const {
    return profile_.Write(section, key, QString::number(value));
}
