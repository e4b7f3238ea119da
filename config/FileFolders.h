// The folder each kind of file was last opened from or saved to, kept in the settings file, so
// that a file dialog opens where the user last worked with that kind of file. Project files keep
// theirs by the last project's path ([Directories] Program); these are the others.
#pragma once

#include <QString>

class SettingsFile;

enum class FileKind {
    Edl,     // edit decision lists, imported and exported
    Report,  // the verification report's text
};

// The folder last used for kind, or fallback when none is kept or it is gone.
QString LastFolder(const SettingsFile& settings, FileKind kind, const QString& fallback);

// Keeps the folder of a file the user just chose for kind.
void KeepLastFolder(const SettingsFile& settings, FileKind kind, const QString& chosenFile);
