// clipwright-cli calibrate --port PATH --player N [--recorder N] [--edit-terminal] [--yes]
// [--save]: measures the decks' latencies (DeckCalibration) and prints each with its spread and
// the [Option] values it gives; --save writes them to the program folder's cw20.ini. The
// recorder records a few seconds where it stands, so the command asks first unless --yes.
// Exit 0 when measured, 1 when stopped or failed, 2 for a usage error.
#include <iostream>
#include <string>

#include "cli/CliIo.h"
#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "cli/LinkCli.h"
#include "cli/TerminalEngineHost.h"
#include "config/SettingsFile.h"
#include "config/SettingsKeys.h"
#include "engine/DeckCalibration.h"

namespace {

const QString kName = QStringLiteral("calibrate");

QString Usage() {
    return "usage: calibrate --port PATH --player N [--recorder N] [--edit-terminal] [--yes] "
           "[--save]\noptions:\n" +
           StartOptionsUsage();
}

bool Confirmed(bool yes) {
    PrintLine(
        "The recorder records a few seconds at its current position and is then put back "
        "there in rec-pause.");
    if (yes)
        return true;
    PrintLine("Go on? [y/N]");
    std::string answer;
    return std::getline(std::cin, answer) && (answer == "y" || answer == "Y" || answer == "yes");
}

void PrintMeasure(const QString& what, const LatencyMeasure& m) {
    if (!m.Measured())
        return;
    QStringList each;
    for (double f : m.frames)
        each << QString::number(f, 'f', 1);
    PrintLine(QStringLiteral("%1: %2 frames (spread %3; measured %4)")
                  .arg(what)
                  .arg(m.Median(), 0, 'f', 1)
                  .arg(m.Spread(), 0, 'f', 1)
                  .arg(each.join(", ")));
}

struct OptionValue {
    SettingKey key;
    std::optional<int> value;
};

}  // namespace

int RunCalibrateCommand(const QStringList& args) {
    const CliSession session(args);
    QStringList rest;
    bool yes = false, save = false, editTerminal = false;
    for (const QString& arg : session.arguments()) {
        if (arg == "--yes")
            yes = true;
        else if (arg == "--save")
            save = true;
        else if (arg == "--edit-terminal")
            editTerminal = true;
        else
            rest << arg;
    }
    LinkOptions o;
    int player = 0, recorder = 0;
    if (!session.error().isEmpty() ||
        !ParseLinkOptions(rest, {"--port", "--player", "--recorder"}, kName, &o) ||
        !o.positional.isEmpty() || !o.values.contains("--port") || !o.values.contains("--player") ||
        !o.Number("--player", 1, 99, &player, kName) ||
        (o.values.contains("--recorder") && !o.Number("--recorder", 1, 99, &recorder, kName))) {
        PrintError(Usage());
        return 2;
    }
    if (recorder == 0) {
        PrintLine(editTerminal ? "Only the player is measured: through the edit terminal the "
                                 "recorder's counter cannot be read (give --recorder N)."
                               : "Only the player is measured: the recorder's latencies need its "
                                 "own counter (--recorder N).");
    } else if (!Confirmed(yes)) {
        PrintError("calibrate: not confirmed; nothing was measured");
        return 1;
    }
    LinkCli link;
    if (!link.Open(o.values.value("--port"), kName))
        return 1;
    TerminalEngineHost::CatchInterrupt();
    DeckCalibration calibration(link.link, link.clock, player, recorder);
    calibration.SetStopRequest([] { return TerminalEngineHost::Interrupted(); });
    calibration.SetProgress([](const QString& line) { PrintLine(line); });
    CalibrationResult result;
    const bool measured = calibration.Run(&result);
    PrintMeasure("player, play until it moves", result.playerStart);
    PrintMeasure("player, pause until it stands", result.playerPause);
    PrintMeasure("recorder, record until it moves", result.recorderStart);
    PrintMeasure("recorder, rec-pause until it stands", result.recorderStop);
    PrintMeasure("recorder, pause until it stands", result.recorderPause);
    if (!measured) {
        PrintError(TerminalEngineHost::Interrupted() ? "calibrate: stopped"
                                                     : "calibrate: a deck did not answer as "
                                                       "expected; nothing was measured in full");
        return 1;
    }
    namespace keys = settings_keys;
    const OptionValue values[] = {{keys::kInPoint, result.recorderStart.Rounded()},
                                  {keys::kOutPoint, result.recorderStop.Rounded()},
                                  {keys::kPlayerPauseLead, result.playerPause.Rounded()},
                                  {keys::kRecorderPauseLead, result.recorderPause.Rounded()}};
    for (const OptionValue& v : values) {
        if (!v.value)
            continue;
        PrintLine(QStringLiteral("[%1] %2=%3").arg(v.key.section, v.key.key).arg(*v.value));
        if (save)
            session.settings().WriteInteger(v.key, *v.value);
    }
    if (save)
        PrintLine("written to " + session.settings().iniPath());
    return 0;
}
