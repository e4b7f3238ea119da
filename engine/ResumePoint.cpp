#include "engine/ResumePoint.h"

#include <QCryptographicHash>

#include "config/SettingsFile.h"
#include "edit/SceneList.h"

namespace {

bool Records(const Scene& row) {
    return !row.tapeChange && row.durationFrames > 0;
}

}  // namespace

QString ListFingerprint(const std::vector<Scene>& rows, uint32_t timecodeMode) {
    QByteArray text = QByteArray::number(timecodeMode);
    for (const Scene& row : rows)
        text += QStringLiteral(";%1,%2,%3,%4,%5")
                    .arg(row.inFrames)
                    .arg(row.outFrames)
                    .arg(row.effect)
                    .arg(row.transition)
                    .arg(row.tapeChange ? 1 : 0)
                    .toLatin1();
    return QString::fromLatin1(QCryptographicHash::hash(text, QCryptographicHash::Sha1).toHex());
}

QString ListFingerprint(const SceneList& list) {
    std::vector<Scene> rows;
    for (int i = 0; i < list.count(); ++i)
        rows.push_back(list.row(i));
    return ListFingerprint(rows, list.timecodeMode());
}

ResumePoint LoadResumePoint(const SettingsFile& settings) {
    using namespace settings_keys;
    ResumePoint point;
    if (!settings.ReadString(kResumeList, &point.fingerprint))
        return {};
    int32_t row = 0;
    if (!settings.ReadInteger(kResumeRow, &row) ||
        !settings.ReadInteger(kResumeRecorderAt, &point.recorderAt) ||
        !settings.ReadInteger(kResumeRecordingStart, &point.recordingStart) || row < 0)
        return {};
    point.lastRow = row;
    return point;
}

void StoreResumePoint(const SettingsFile& settings, const ResumePoint& point) {
    using namespace settings_keys;
    const bool empty = point.IsEmpty();
    settings.WriteString(kResumeList, point.fingerprint);
    settings.WriteString(kResumeRow, empty ? QString() : QString::number(point.lastRow));
    settings.WriteString(kResumeRecorderAt, empty ? QString() : QString::number(point.recorderAt));
    settings.WriteString(kResumeRecordingStart,
                         empty ? QString() : QString::number(point.recordingStart));
}

ResumeRefusal CheckResume(const ResumePoint& point, const SceneList& list) {
    if (point.IsEmpty())
        return ResumeRefusal::NothingToResume;
    if (point.fingerprint != ListFingerprint(list))
        return ResumeRefusal::ListChanged;
    for (int i = point.lastRow + 1; i < list.count(); ++i)
        if (Records(list.row(i)))
            return ResumeRefusal::None;
    return ResumeRefusal::NothingToResume;
}
