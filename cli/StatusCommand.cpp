// clipwright-cli status --port PATH --id N: one status reading of a deck.
#include "cli/CliIo.h"
#include "cli/CommandArguments.h"
#include "cli/Commands.h"
#include "cli/LinkCli.h"

namespace {

// Why a status query gave no reading: no reply at all, or a reply that carried no status.
QString NoReadingReason(const LinkJobResult& query) {
    if (query.result != LinkResult::Ok)
        return QStringLiteral("does not answer");
    const QString status = QStringLiteral("%1").arg(query.status, 2, 16, QChar(u'0')).toUpper();
    if (tarn::VerdictOf(query.status) == tarn::Verdict::Refused)
        return QStringLiteral("refused the status query (status %1)").arg(status);
    return QStringLiteral("gave no status (status %1)").arg(status);
}

}  // namespace

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
    if (!reading.ok) {
        PrintError(QStringLiteral("status: device %1 %2").arg(id).arg(NoReadingReason(reading)));
        return 1;
    }
    if (!cli.vtr.ReadStatus()) {
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
