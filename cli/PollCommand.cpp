// clipwright-cli poll --port PATH --id N --seconds S [--answer-delay MS]: polls the deck as the
// polling thread does, prints a line each second and, last, the polling rate against what the
// line allows.
#include <array>
#include <atomic>

#include "cli/CliIo.h"
#include "cli/CommandArguments.h"
#include "cli/Commands.h"
#include "cli/LinkCli.h"

namespace {

// One exchange is 11 bytes out and 11 back, each byte 11 bits (start, 8 data, parity, stop).
constexpr double kLineMsPerExchange = 2 * 11 * 11 * 1000.0 / 9600.0;

// Counts every exchange's result, and accepted and refused polls, as they happen.
struct PollCounters {
    std::array<std::atomic<int>, 7> results{};
    std::atomic<int> accepted{0};
    std::atomic<int> refused{0};

    QString ResultLine() const {
        return QStringLiteral(
                   "results ok=%1 no_port=%2 no_reply=%3 bad_marks=%4 bad_check=%5 "
                   "bad_id=%6")
            .arg(results[0].load())
            .arg(results[2].load())
            .arg(results[3].load())
            .arg(results[4].load())
            .arg(results[5].load())
            .arg(results[6].load());
    }
};

}  // namespace

int RunPollCommand(const CommandArguments& args) {
    int id = 0, seconds = 0, answerDelay = 0;
    if (!args.positional().isEmpty()) {
        PrintError("poll: takes no arguments besides its options");
        return 2;
    }
    if (!args.Require("port") || !args.Number("id", 1, 99, &id) ||
        !args.Number("seconds", 1, 3600, &seconds) ||
        !args.OptionalNumber("answer-delay", 0, 1000, &answerDelay)) {
        return 2;
    }
    LinkCli cli;
    if (!cli.Open(args.value("port"), "poll"))
        return 1;

    PollCounters counters;
    QObject::connect(&cli.io, &CTarnIO::Traced, [&counters](const TarnTrace& trace) {
        ++counters.results[static_cast<int>(trace.result)];
    });
    cli.vtr.SetPollHook(
        [&counters](bool accepted) { ++(accepted ? counters.accepted : counters.refused); });
    cli.vtr.SetId(id);
    const int64_t start = cli.clock.NowMs();
    cli.vtr.StartPolling();
    for (int second = 1; second <= seconds; ++second) {
        cli.clock.Sleep(static_cast<int>(start + second * 1000 - cli.clock.NowMs()));
        const DeckState state = cli.vtr.TakeChanges();
        PrintLine(QStringLiteral("second=%1 polls=%2 refused=%3 mode=%4 power=%5 text=%6")
                      .arg(second)
                      .arg(counters.accepted.load() + counters.refused.load())
                      .arg(counters.refused.load())
                      .arg(state.mode)
                      .arg(state.powerOn ? 1 : 0)
                      .arg(state.counterText.trimmed()));
    }
    cli.vtr.StopPolling();
    const double elapsed = (cli.clock.NowMs() - start) / 1000.0;
    const int polls = counters.accepted + counters.refused;
    const double rate = polls / elapsed;
    const double limit = 1000.0 / (kLineMsPerExchange + answerDelay);
    PrintLine(counters.ResultLine());
    PrintLine(QStringLiteral("polls_per_second=%1 line_limit=%2 ratio=%3")
                  .arg(rate, 0, 'f', 2)
                  .arg(limit, 0, 'f', 2)
                  .arg(rate / limit, 0, 'f', 3));
    if (counters.accepted == 0) {
        PrintError(QStringLiteral("poll: device %1 did not answer any poll").arg(id));
        return 1;
    }
    return 0;
}
