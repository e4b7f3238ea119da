// The device store: the bus configuration (port, player, recorder, edit terminal, device list,
// model code, category) as 32-bit integers, kept per machine apart from the program's own
// settings file, in $XDG_CONFIG_HOME/Brenvik/Tarn.ini.
#pragma once

#include <QString>
#include <cstdint>

class CTarnReg {
public:
    // The store file lives under configHome (normally $XDG_CONFIG_HOME, else ~/.config).
    explicit CTarnReg(const QString& configHome = DefaultConfigHome());

    // Writes value under section/name, creating the file and section on first use.
    bool WriteInt(const QString& section, const QString& name, int32_t value);

    // Reads section/name into *value; a missing value or one that is not a 32-bit integer
    // returns false and leaves *value unchanged.
    bool ReadInt(const QString& section, const QString& name, int32_t* value);

    // Removes section/name; removing a value that does not exist does nothing.
    void DeleteValue(const QString& section, const QString& name);

    // 0 after a successful call, else a non-zero code of the failing step.
    int lastStatus() const { return lastStatus_; }
    QString filePath() const { return filePath_; }

    static QString DefaultConfigHome();

private:
    QString filePath_;
    int lastStatus_ = 0;
};
