// clipwright-cli timecode --mode M VALUE: a frame count prints its text, a text its frame count.
#include "cli/CliIo.h"
#include "cli/CommandArguments.h"
#include "cli/Commands.h"
#include "edit/Timecode.h"

int RunTimecodeCommand(const CommandArguments& args) {
    if (!args.Require("mode"))
        return 2;
    if (args.positional().size() != 1) {
        PrintError("timecode: one frame count or HH:MM:SS:FF text is needed");
        return 2;
    }
    bool modeOk = false;
    const int mode = args.value("mode").toInt(&modeOk);
    if (!modeOk || mode < 0 || mode > 2) {
        PrintError("timecode: the mode must be 0 (25 fps), 1 (30 fps) or 2 (30 fps drop-frame)");
        return 2;
    }
    const QString& value = args.positional().front();
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
