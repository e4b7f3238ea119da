// clipwright-cli timecode --mode M VALUE: a frame count prints its text, a text its frame count.
#include "cli/CliIo.h"
#include "cli/Commands.h"
#include "edit/Timecode.h"

int RunTimecodeCommand(const QStringList& args) {
    if (args.size() != 3 || args[0] != "--mode") {
        PrintError("usage: timecode --mode 0|1|2 FRAMES|HH:MM:SS:FF");
        return 2;
    }
    bool modeOk = false;
    const int mode = args[1].toInt(&modeOk);
    if (!modeOk || mode < 0 || mode > 2) {
        PrintError("timecode: the mode must be 0 (25 fps), 1 (30 fps) or 2 (30 fps drop-frame)");
        return 2;
    }
    const QString& value = args[2];
    bool isCount = false;
    const int32_t count = value.toInt(&isCount);
    if (isCount) {
        PrintLine(FramesToText(count, static_cast<uint32_t>(mode)));
        return 0;
    }
    Timecode tc;
    tc.mode = static_cast<uint32_t>(mode);
    tc.text = value;
    int32_t frames = 0;
    if (!TimecodeFromText(tc, &frames)) {
        PrintError("timecode: not a frame count or an HH:MM:SS:FF text: " + value);
        return 1;
    }
    PrintLine(QString::number(frames));
    return 0;
}
