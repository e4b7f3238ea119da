// The program's log file in the program folder: clipwright.log, rotated when the next line would
// take it past kMaxBytes, with the kOldFiles files before it kept as clipwright.log.1 (the
// newest) to clipwright.log.3. Lines are appended by any thread.
#pragma once

#include <QFile>
#include <QString>
#include <QStringList>
#include <mutex>

class LogFile {
public:
    static constexpr const char* kFileName = "clipwright.log";
    // A megabyte holds a few hours of an Auto Rec's messages; four of them stay small enough
    // to attach to a mail.
    static constexpr qint64 kMaxBytes = 1024 * 1024;
    static constexpr int kOldFiles = 3;

    // folder: the program folder. Nothing is created until the first line.
    explicit LogFile(const QString& folder, qint64 maxBytes = kMaxBytes);

    const QString& Path() const { return path_; }
    // Appends line and a line feed; false when the file cannot be written.
    bool Append(const QString& line);
    // The last maxLines lines written, from the newest old file on when the current one holds
    // fewer.
    QStringList Tail(int maxLines) const;

private:
    void Rotate();
    QString OldPath(int n) const { return path_ + u'.' + QString::number(n); }

    QString path_;
    qint64 maxBytes_;
    mutable std::mutex mutex_;
    QFile file_;
};
