#include "config/GuardNote.h"

#include <QDir>
#include <QFile>

#include "config/CaptionTable.h"
#include "config/ProfileFile.h"

namespace {

const QString kSection = QStringLiteral("Guard");
const QString kOperationKey = QStringLiteral("Operation");
const QString kRecorderAtKey = QStringLiteral("RecorderAt");
const QString kConfirmedKey = QStringLiteral("Confirmed");

QString NotePath(const QString& folder) {
    return QDir(folder).filePath(QLatin1String(GuardNote::kFileName));
}

QString Caption(const CaptionTable& captions, const QString& key) {
    // Without a caption file the key still says what happened.
    const QString text = captions.CaptionText(key);
    return text.isEmpty() ? key : text;
}

}  // namespace

bool GuardNote::Write(const QString& folder) const {
    return ProfileFile(NotePath(folder))
        .Write(kSection, {{kOperationKey, operation},
                          {kRecorderAtKey, recorderAt},
                          {kConfirmedKey, confirmed ? QStringLiteral("1") : QStringLiteral("0")}});
}

std::optional<GuardNote> GuardNote::Take(const QString& folder) {
    const QString path = NotePath(folder);
    if (!QFile::exists(path))
        return std::nullopt;
    const ProfileFile file(path);
    GuardNote note;
    note.operation = file.Read(kSection, kOperationKey).value_or(QString());
    note.recorderAt = file.Read(kSection, kRecorderAtKey).value_or(QString());
    note.confirmed = file.Read(kSection, kConfirmedKey) == QStringLiteral("1");
    QFile::remove(path);
    return note;
}

QString GuardNote::Text(const CaptionTable& captions) const {
    const QString what = Caption(captions, QStringLiteral("GUARD_OP_") + operation.toUpper());
    if (confirmed && !recorderAt.isEmpty())
        return Caption(captions, QStringLiteral("MSG_GUARD_PAUSED")).arg(what, recorderAt);
    return Caption(captions, QStringLiteral("MSG_GUARD_UNSURE")).arg(what);
}
