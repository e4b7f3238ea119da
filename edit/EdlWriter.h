// An edit list written as a CMX 3600 edit decision list: one video cut event per scene with a
// duration, laid end to end on the record side from a start timecode, each tape a reel.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

class SceneList;

struct EdlExportOptions {
    QString title;
    // Record timecode of the first event, in frames of the list's mode.
    int32_t recordStartFrames = 0;
};

struct EdlExport {
    enum class Result {
        Written,
        NothingToExport,    // no scene has a duration
        RecordBeyondLimit,  // the record side would pass 99:59:59, which has no EDL timecode
        NotWritten,         // no file: the overwrite question answered No, or a warning shown
        WriteFailed         // the file could not be written; the file layer reported why
    };
    Result result = Result::Written;
    QByteArray bytes;  // UTF-8 text with CR LF line ends; empty unless Written
    int events = 0;
    // Scene rows left out because they have no duration: an EDL event cannot be empty.
    int scenesWithoutDuration = 0;
};

// The default record start, 01:00:00:00, in frames of mode.
int32_t DefaultEdlRecordStart(uint32_t mode);

EdlExport WriteEdl(const SceneList& list, const EdlExportOptions& options);
