#include "edit/EdlMessages.h"

#include <QStringList>

#include "config/CaptionTable.h"

namespace {

constexpr qsizetype kBytesPerMegabyte = 1024 * 1024;

const char* RefusalKey(EdlRefusal refusal) {
    switch (refusal) {
        case EdlRefusal::Unreadable:
            return "MSG_INPUT";
        case EdlRefusal::TooLarge:
            return "MSG_EDL_TOOBIG";
        case EdlRefusal::EventLine:
            return "MSG_EDL_EVENT";
        case EdlRefusal::FramesBeyondRate:
            return "MSG_EDL_FRAMES";
        case EdlRefusal::SkippedDropFrameLabel:
            return "MSG_EDL_DFLABEL";
        case EdlRefusal::OutBeforeIn:
            return "MSG_EDL_OUTIN";
        case EdlRefusal::NoVideoEvent:
        case EdlRefusal::None:
            break;
    }
    return "MSG_EDL_NOVIDEO";
}

}  // namespace

QString EdlRefusalText(const EdlImport& import, const CaptionTable& captions) {
    QString reason = captions.CaptionText(QLatin1String(RefusalKey(import.refusal)));
    if (import.refusal == EdlRefusal::TooLarge)
        reason = reason.arg(kMaxEdlBytes / kBytesPerMegabyte);
    if (import.refusedLine > 0)
        reason = captions.CaptionText("MSG_EDL_LINE").arg(import.refusedLine) + reason;
    return reason + u'\n' + captions.CaptionText("MSG_EDL_REFUSED");
}

QString EdlImportReportText(const EdlImportReport& r, const CaptionTable& captions) {
    // One short line a count, the number last: no line wraps in a message box, and no language
    // needs plural forms.
    QStringList lines{captions.CaptionText("MSG_EDL_IMPORTED"),
                      captions.CaptionText("MSG_EDL_SCENES").arg(r.scenes),
                      captions.CaptionText("MSG_EDL_TAPES").arg(r.tapes)};
    const std::pair<const char*, int> counts[] = {
        {"MSG_EDL_AUDIO", r.audioOnlyEvents}, {"MSG_EDL_EMPTY", r.eventsWithoutDuration},
        {"MSG_EDL_BLACK", r.blackEvents},     {"MSG_EDL_KEYS", r.keyEvents},
        {"MSG_EDL_LEFTOUT", r.eventsLeftOut}, {"MSG_EDL_COMMENTS", r.commentLines},
        {"MSG_EDL_SPEEDS", r.speedLines},     {"MSG_EDL_SPLITS", r.splitLines},
        {"MSG_EDL_OTHER", r.otherLines}};
    for (const auto& [key, count] : counts) {
        if (count > 0)
            lines << captions.CaptionText(key).arg(count);
    }
    if (r.frameCountModeDiffers) {
        const bool drop = r.frameCountMode == EdlImportReport::FrameCountMode::Drop;
        lines << captions.CaptionText(drop ? "MSG_EDL_FCMDF" : "MSG_EDL_FCMNDF");
    }
    return lines.join(u'\n');
}

QString EdlExportText(const EdlExport& edl, const CaptionTable& captions) {
    switch (edl.result) {
        case EdlExport::Result::NothingToExport:
            return captions.CaptionText("MSG_EDL_NOSCENE");
        case EdlExport::Result::RecordBeyondLimit:
            return captions.CaptionText("MSG_EDL_RECEND");
        case EdlExport::Result::Written:
            if (edl.scenesWithoutDuration > 0)
                return captions.CountedText("MSG_EDL_NODUR", edl.scenesWithoutDuration);
            break;
        case EdlExport::Result::WriteFailed:
        case EdlExport::Result::NotWritten:
            break;
    }
    return {};
}
