// The diagnostics file a user sends when a deck misbehaves: version, Qt and system, the settings
// file, the device store, the capability words in use, the last Auto Rec's verification and stop
// reason, the link's recent exchanges and the log's tail, as one text. Paths inside the program
// folder and the home folder are shown relative to them, so the file names no user folder.
#pragma once

#include <QString>
#include <QStringList>

class CDevCaps;
class ExchangeRing;

struct DiagnosticsSources {
    QString program;                         // the program's name and version
    QString programFolder;                   // shown as "<program folder>"
    QString homeFolder;                      // shown as "~"
    QString settingsPath;                    // cw20.ini
    QString deviceStorePath;                 // Tarn.ini
    const CDevCaps* capabilities = nullptr;  // none: not looked up in this session
    const ExchangeRing* exchanges = nullptr;
    QString portPath;     // the serial device the exchanges went through, empty: none
    QString lastRun;      // the last Auto Rec's verification and stop reason, empty: none
    QStringList logTail;  // the last lines of the log file
};

class DiagnosticsReport {
public:
    // The log lines a report ends with: enough for the minutes before a fault.
    static constexpr int kLogTailLines = 300;

    explicit DiagnosticsReport(const DiagnosticsSources& sources);

    const QString& Text() const { return text_; }
    // Writes the text to path whole or not at all; false with the system's reason in *error.
    bool Write(const QString& path, QString* error) const;

    // text with the program folder and the home folder replaced by their short names.
    static QString WithoutUserPaths(QString text, const QString& programFolder,
                                    const QString& homeFolder);

private:
    void AddSection(const QString& title, const QString& body);

    QString text_;
};
