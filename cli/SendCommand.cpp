// clipwright-cli send --port PATH HEX...: one raw exchange as the link monitor makes it, the
// destination id and seven command bytes in hexadecimal.
#include <QRegularExpression>

#include "cli/CliIo.h"
#include "cli/CommandArguments.h"
#include "cli/Commands.h"
#include "cli/LinkCli.h"

namespace {

// Eight bytes from "05 08 4E 20 00 00 00 00" or "05:08:4E:20:00:00:00:00".
bool ParseBytes(const QStringList& words, std::array<uint8_t, 8>* bytes) {
    const QStringList parts =
        words.join(u' ').split(QRegularExpression("[\\s:]+"), Qt::SkipEmptyParts);
    if (parts.size() != 8)
        return false;
    for (int i = 0; i < 8; ++i) {
        bool ok = false;
        const uint v = parts[i].toUInt(&ok, 16);
        if (!ok || v > 0xFF)
            return false;
        (*bytes)[i] = static_cast<uint8_t>(v);
    }
    return true;
}

}  // namespace

int RunSendCommand(const CommandArguments& args) {
    std::array<uint8_t, 8> bytes{};
    if (!args.Require("port"))
        return 2;
    if (!ParseBytes(args.positional(), &bytes)) {
        PrintError("send: eight hexadecimal bytes are needed, the id first");
        return 2;
    }
    LinkCli cli;
    if (!cli.Open(args.value("port"), "send"))
        return 1;
    TarnCommand command;
    std::copy(bytes.begin() + 1, bytes.end(), command.begin());
    const LinkJobResult r = cli.link.Exchange(bytes[0], command);
    PrintLine("request " + tarn::FrameToHex(r.request));
    PrintLine("reply   " + tarn::FrameToHex(r.reply));
    PrintLine(QStringLiteral("result  %1").arg(static_cast<int>(r.result)));
    if (r.result == LinkResult::Ok)
        return 0;
    static const char* const kMeaning[] = {"",
                                           "",
                                           "the request could not be written",
                                           "no complete reply",
                                           "the reply does not begin with FC FF",
                                           "the reply's check byte is wrong",
                                           "the id must be 1 to 127; nothing was sent"};
    PrintError(QStringLiteral("send: %1 (result %2)")
                   .arg(kMeaning[static_cast<int>(r.result)])
                   .arg(static_cast<int>(r.result)));
    return 1;
}
