// A private profile (INI) file: text values addressed by section and key, read and written
// straight through to the file on every call, with the lines the program does not touch kept.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

#include "config/TextDecoding.h"

class ProfileFile {
public:
    // legacyLanguage chooses the code page for a file that is not valid UTF-8 (an older file).
    explicit ProfileFile(QString path, int legacyLanguage = kLanguageEnglish);

    const QString& Path() const { return path_; }

    // The value of the first key of that name in the first section of that name, names compared
    // without regard to case; nothing when the file, section or key is missing.
    std::optional<QString> Read(const QString& section, const QString& key) const;

    // Replaces the key's value, adding the key (and the section) when missing and creating the
    // file when it does not exist. Every other line stays as it was. False when the file cannot
    // be read or replaced; the file is then unchanged.
    bool Write(const QString& section, const QString& key, const QString& value) const;
    // The same for several keys of one section in one replacement of the file: a reader, or a
    // program killed meanwhile, finds either all the old values or all the new ones.
    using KeyValues = std::vector<std::pair<QString, QString>>;
    bool Write(const QString& section, const KeyValues& values) const;

    // Removes the key's line; true also when there was no such key.
    bool Remove(const QString& section, const QString& key) const;

private:
    struct Lines {
        QStringList lines;
        QString lineEnd = QStringLiteral("\n");
    };
    struct KeyPosition {
        int sectionLine = -1;  // line of the section header, -1 when the section is missing
        int insertAt = -1;     // where a new key of the section goes
        int keyLine = -1;      // line of the key, -1 when the key is missing
    };

    std::optional<Lines> Load() const;
    bool Save(const Lines& content) const;
    static void Put(Lines& content, const QString& section, const QString& key,
                    const QString& value);
    static KeyPosition Locate(const QStringList& lines, const QString& section, const QString& key);

    QString path_;
    int legacyLanguage_;
};
