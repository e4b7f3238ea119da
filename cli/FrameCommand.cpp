// clipwright-cli frame ID B3..B9: prints the request frame the link would send.
#include "cli/CliIo.h"
#include "cli/CommandArguments.h"
#include "cli/Commands.h"
#include "link/TarnFrame.h"

namespace {

bool ParseByte(const QString& text, int base, int max, int* value) {
    bool ok = false;
    const int v = text.toInt(&ok, base);
    if (!ok || v < 0 || v > max)
        return false;
    *value = v;
    return true;
}

}  // namespace

int RunFrameCommand(const CommandArguments& arguments) {
    const QStringList& args = arguments.positional();
    if (args.size() != 8) {
        PrintError("frame: an id (decimal) and seven bytes (hexadecimal) are needed");
        return 2;
    }
    int id = 0;
    if (!ParseByte(args[0], 10, 255, &id)) {
        PrintError("frame: the id must be a decimal number from 0 to 255: " + args[0]);
        return 2;
    }
    TarnCommand command{};
    for (int i = 0; i < 7; ++i) {
        int byte = 0;
        if (!ParseByte(args[1 + i], 16, 255, &byte)) {
            PrintError("frame: not a hexadecimal byte: " + args[1 + i]);
            return 2;
        }
        command[i] = static_cast<uint8_t>(byte);
    }
    PrintLine(tarn::FrameToHex(tarn::BuildRequest(static_cast<uint8_t>(id), command)));
    return 0;
}
