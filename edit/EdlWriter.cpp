#include "edit/EdlWriter.h"

#include <QStringList>

#include "edit/EdlFormat.h"
#include "edit/EdlReelNames.h"
#include "edit/EdlTimecode.h"
#include "edit/OneLineText.h"
#include "edit/SceneList.h"

namespace {

const QString kLineEnd = QStringLiteral("\r\n");
constexpr int kTrackWidth = 5;
constexpr int kTransitionWidth = 4;
constexpr int kDurationWidth = 3;

QString OwnCodes(const Scene& row) {
    return QStringLiteral(" EFFECT %1 TRANSITION %2").arg(row.effect).arg(row.transition);
}

QStringList TapeMemos(const SceneList& list) {
    QStringList memos;
    for (int i = 0; i < list.count(); ++i) {
        if (list.row(i).tapeChange)
            memos << list.row(i).memo;
    }
    return memos;
}

// The label of a source point as the frame the program cues for it: a label that drop-frame
// counting skips (typed into a drop-frame list) becomes the frame it stands for, which an EDL
// reader accepts.
QString SourceLabel(const QString& text, int32_t frames, uint32_t mode) {
    return EdlTimecodeOfFrames(frames, mode).value_or(EdlTimecodeText(text, mode));
}

QString EventLine(int event, const QString& reel, const Scene& row, const QString& recordIn,
                  const QString& recordOut, uint32_t mode) {
    return QStringLiteral("%1  %2 %3 %4 %5 %6 %7 %8 %9")
        .arg(event, 3, 10, QChar(u'0'))
        .arg(reel.leftJustified(edl::kReelLength), edl::kVideoTrack.leftJustified(kTrackWidth),
             edl::kCut.leftJustified(kTransitionWidth), QString(kDurationWidth, u' '),
             SourceLabel(row.inText, row.inFrames, mode),
             SourceLabel(row.outText, row.outFrames, mode), recordIn, recordOut);
}

EdlExport Refused(EdlExport::Result result) {
    EdlExport refused;
    refused.result = result;
    return refused;
}

}  // namespace

int32_t DefaultEdlRecordStart(uint32_t mode) {
    Timecode oneHour;
    oneHour.hours = 1;
    oneHour.mode = mode;
    return TimecodeToFrames(oneHour);
}

EdlExport WriteEdl(const SceneList& list, const EdlExportOptions& options) {
    const uint32_t mode = list.timecodeMode();
    const QStringList reels = ReelNamesForTapes(TapeMemos(list));
    EdlExport out;
    QString text = edl::kTitle + u' ' + OneLineText(options.title) + kLineEnd +
                   edl::kFrameCountMode + u' ' +
                   (mode == Fps30Drop ? edl::kDropFrame : edl::kNonDropFrame) + kLineEnd + kLineEnd;
    int tape = -1;
    int64_t record = options.recordStartFrames;
    for (int i = 0; i < list.count(); ++i) {
        const Scene& row = list.row(i);
        if (row.tapeChange) {
            ++tape;
            text += edl::kOwnTape + OwnCodes(row) + u':' + u' ' + OneLineText(row.memo) + kLineEnd;
            continue;
        }
        if (row.durationFrames <= 0) {
            ++out.scenesWithoutDuration;
            continue;
        }
        const auto recordIn = EdlTimecodeOfFrames(record, mode);
        const auto recordOut = EdlTimecodeOfFrames(record + row.durationFrames, mode);
        if (!recordIn || !recordOut)
            return Refused(EdlExport::Result::RecordBeyondLimit);
        record += row.durationFrames;
        ++out.events;
        text += EventLine(out.events, reels[tape], row, *recordIn, *recordOut, mode) + kLineEnd;
        text += edl::kFromClipName + u' ' + OneLineText(row.memo) + kLineEnd;
        text += edl::kOwnScene + OwnCodes(row) + kLineEnd;
    }
    if (out.events == 0)
        return Refused(EdlExport::Result::NothingToExport);
    out.bytes = text.toUtf8();
    return out;
}
