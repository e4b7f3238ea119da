// clipwright-cli status --port PATH --id N: one status reading of a deck.
#include "cli/CliIo.h"
#include "cli/CommandArguments.h"
#include "cli/Commands.h"
#include "cli/LinkCli.h"

int RunStatusCommand(const CommandArguments& args) {
    int id = 0;
    if (!args.positional().isEmpty()) {
        PrintError("status: takes no arguments besides its options");
        return 2;
    }
    if (!args.Require("port") || !args.Number("id", 1, 99, &id))
        return 2;
    LinkCli cli;
    if (!cli.Open(args.value("port"), "status"))
        return 1;
    cli.vtr.SetId(id);
    // One reading of its own for the counter, so "no counter" is told apart from a zero.
    const LinkJobResult reading = cli.vtr.QueryStatus(id);
    if (!reading.ok || !cli.vtr.ReadStatus()) {
        PrintError(QStringLiteral("status: device %1 does not answer").arg(id));
        return 1;
    }
    cli.vtr.CheckPower();
    const DeckState state = cli.vtr.State();
    int32_t counter = 0;
    Timecode tc;
    QString counterField = "none";
    QString textField = "none";
    if (TarnVtr::DecodeCounter(reading.reply, &counter, &tc)) {
        counterField = QString::number(counter);
        // The display's leading blank is padding; the text keeps only a real minus sign.
        textField = TarnVtr::CounterText(counter, tc).trimmed();
    }
    PrintLine(QStringLiteral("mode=%1 power=%2 counter=%3 text=%4")
                  .arg(state.mode)
                  .arg(state.powerOn ? 1 : 0)
                  .arg(counterField, textField));
    return 0;
}
