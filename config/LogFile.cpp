#include "config/LogFile.h"

#include <QDir>

namespace {

QStringList LinesOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

}  // namespace

LogFile::LogFile(const QString& folder, qint64 maxBytes)
    : path_(QDir(folder).filePath(QLatin1String(kFileName))), maxBytes_(maxBytes) {}

bool LogFile::Append(const QString& line) {
    const QByteArray bytes = line.toUtf8() + '\n';
    std::lock_guard lock(mutex_);
    if (!file_.isOpen()) {
        file_.setFileName(path_);
        if (!file_.open(QIODevice::Append | QIODevice::WriteOnly))
            return false;
    }
    if (file_.size() > 0 && file_.size() + bytes.size() > maxBytes_)
        Rotate();
    // Unbuffered in effect: a crash right after a line must not lose the line that explains it.
    const bool written = file_.write(bytes) == bytes.size();
    file_.flush();
    return written;
}

void LogFile::Rotate() {
    file_.close();
    QFile::remove(OldPath(kOldFiles));
    for (int n = kOldFiles - 1; n >= 1; --n)
        QFile::rename(OldPath(n), OldPath(n + 1));
    QFile::rename(path_, OldPath(1));
    file_.setFileName(path_);
    file_.open(QIODevice::Append | QIODevice::WriteOnly);
}

QStringList LogFile::Tail(int maxLines) const {
    std::lock_guard lock(mutex_);
    QStringList lines = LinesOf(path_);
    for (int n = 1; n <= kOldFiles && lines.size() < maxLines; ++n)
        lines = LinesOf(OldPath(n)) + lines;
    return lines.mid(std::max<qsizetype>(0, lines.size() - maxLines));
}
