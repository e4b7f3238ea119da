// The program's settings file cw20.ini in the program folder: text and integer values by section
// and key, read from and written to the file on every call. The keys are in SettingsKeys.h.
#pragma once

#include <QString>
#include <cstdint>

#include "config/ProfileFile.h"
#include "config/SettingsKeys.h"

class SettingsReporter;

class SettingsFile {
public:
    // The longest value a read hands back, in bytes of its UTF-8 form.
    static constexpr int kMaxValueBytes = 254;

    explicit SettingsFile(const QString& programDir);

    const QString& programDir() const { return programDir_; }
    const QString& iniPath() const { return profile_.Path(); }

    // Receives the malformed values that reads meet; none reports nothing. Not owned.
    void SetReporter(SettingsReporter* reporter) { reporter_ = reporter; }

    // True when the value is present and not empty; it is cut to kMaxValueBytes. On false the
    // value is left unchanged, so callers may pre-set their default.
    bool ReadString(const QString& section, const QString& key, QString* value) const;
    bool WriteString(const QString& section, const QString& key, const QString& value) const;
    // Several values of one section, all or none: one replacement of the file.
    bool WriteStrings(const QString& section, const ProfileFile::KeyValues& values) const;

    // True when a non-empty value is present and is a decimal integer. A value that is not one is
    // reported to the reporter and read as missing, so the caller's default stands.
    bool ReadInteger(const QString& section, const QString& key, int32_t* value) const;
    bool WriteInteger(const QString& section, const QString& key, int32_t value) const;

    bool ReadString(const SettingKey& k, QString* value) const {
        return ReadString(k.section, k.key, value);
    }
    bool WriteString(const SettingKey& k, const QString& value) const {
        return WriteString(k.section, k.key, value);
    }
    bool ReadInteger(const SettingKey& k, int32_t* value) const {
        return ReadInteger(k.section, k.key, value);
    }
    bool WriteInteger(const SettingKey& k, int32_t value) const {
        return WriteInteger(k.section, k.key, value);
    }

private:
    QString programDir_;
    ProfileFile profile_;
    SettingsReporter* reporter_ = nullptr;
};
