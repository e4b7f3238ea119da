#include "engine/ResumePoint.h"

#include <QCryptographicHash>
#include <QRegularExpression>
#include <cstdlib>

#include "config/SettingsFile.h"
#include "config/StrictInteger.h"
#include "edit/SceneList.h"

namespace {

// A tape counter's hours field holds at most 63: no position the recorder can report lies
// further from zero than 64 hours of 30 frames a second.
constexpr int32_t kCounterLimitFrames = 64 * 3600 * 30;

bool Records(const Scene& row) {
    return !row.tapeChange && row.durationFrames > 0;
}

bool IsFingerprint(const QString& text) {
    static const QRegularExpression sha1(QStringLiteral("^[0-9a-f]{40}$"));
    return sha1.match(text).hasMatch();
}

bool IsCounterReading(int32_t frames) {
    return std::abs(static_cast<int64_t>(frames)) < kCounterLimitFrames;
}

QString Fault(const SettingKey& key, const QString& text) {
    return QStringLiteral("%1=%2").arg(key.key, text);
}

// The value at fault of a point's numbers, empty when every one is in range.
QString RangeFault(const ResumePoint& point) {
    using namespace settings_keys;
    if (point.lastRow < 0 || point.lastRow >= SceneList::kMaxRows)
        return Fault(kResumeRow, QString::number(point.lastRow));
    if (!IsCounterReading(point.recorderAt))
        return Fault(kResumeRecorderAt, QString::number(point.recorderAt));
    if (!IsCounterReading(point.recordingStart))
        return Fault(kResumeRecordingStart, QString::number(point.recordingStart));
    return {};
}

// Reads one number of the point; false, with the fault named, when it is missing or no number.
bool ReadNumber(const SettingsFile& settings, const SettingKey& key, int32_t* value,
                QString* fault) {
    QString text;
    settings.ReadString(key, &text);
    const std::optional<int32_t> number = ParseStrictInteger(text);
    if (!number) {
        *fault = Fault(key, text);
        return false;
    }
    *value = *number;
    return true;
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
    if (!IsFingerprint(point.fingerprint)) {
        point.fault = Fault(kResumeList, point.fingerprint);
    } else {
        int32_t row = 0;
        if (ReadNumber(settings, kResumeRow, &row, &point.fault) &&
            ReadNumber(settings, kResumeRecorderAt, &point.recorderAt, &point.fault) &&
            ReadNumber(settings, kResumeRecordingStart, &point.recordingStart, &point.fault)) {
            point.lastRow = row;
            point.fault = RangeFault(point);
        }
    }
    if (point.Damaged())
        return ResumePoint{.fault = point.fault};
    return point;
}

bool StoreResumePoint(const SettingsFile& settings, const ResumePoint& point) {
    using namespace settings_keys;
    const bool empty = point.IsEmpty();
    const auto number = [empty](int32_t value) {
        return empty ? QString() : QString::number(value);
    };
    return settings.WriteStrings(kResumeSection,
                                 {{kResumeList.key, point.fingerprint},
                                  {kResumeRow.key, number(point.lastRow)},
                                  {kResumeRecorderAt.key, number(point.recorderAt)},
                                  {kResumeRecordingStart.key, number(point.recordingStart)}});
}

QString ResumePointFault(const ResumePoint& point, const SceneList& list) {
    if (point.Damaged())
        return point.fault;
    const QString fault = RangeFault(point);
    if (fault.isEmpty() && point.lastRow >= list.count())
        return Fault(settings_keys::kResumeRow, QString::number(point.lastRow));
    return fault;
}

ResumeRefusal CheckResume(const ResumePoint& point, const SceneList& list) {
    if (point.IsEmpty())
        return ResumeRefusal::NothingToResume;
    if (point.Damaged() || !RangeFault(point).isEmpty())
        return ResumeRefusal::Damaged;
    if (point.fingerprint != ListFingerprint(list))
        return ResumeRefusal::ListChanged;
    if (point.lastRow >= list.count())
        return ResumeRefusal::Damaged;  // a fingerprint of this list on a row it lacks: edited
    for (int i = point.lastRow + 1; i < list.count(); ++i)
        if (Records(list.row(i)))
            return ResumeRefusal::None;
    return ResumeRefusal::NothingToResume;
}
