// clipwright-cli calibrate --port PATH --player N [--recorder N] [--edit-terminal] [--yes]
// [--save [--force]]: measures the decks' latencies (DeckCalibration) and prints each with its
// spread and the [Option] values it gives; --save writes them to the program folder's cw20.ini,
// unless a measurement was unsteady (then only with --force). The recorder records a few seconds
// where it stands, so the command asks first unless --yes; with the edit terminal nothing
// records and only the player is measured. Exit 0 when measured (and written when asked), 1 when
// stopped, failed, unsteady for --save or not written, 2 for a usage error.
#include <QSaveFile>
#include <iostream>
#include <string>

#include "cli/CliIo.h"
#include "cli/CliSession.h"
#include "cli/CommandArguments.h"
#include "cli/Commands.h"
#include "cli/LinkCli.h"
#include "cli/TerminalEngineHost.h"
#include "config/SettingsFile.h"
#include "config/SettingsKeys.h"
#include "engine/DeckCalibration.h"
#include "engine/StopSignals.h"

namespace {

const QString kName = QStringLiteral("calibrate");

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
    PrintLine(QStringLiteral("%1: %2 frames (spread %3; measured %4)%5")
                  .arg(what)
                  .arg(m.Median(), 0, 'f', 1)
                  .arg(m.Spread(), 0, 'f', 1)
                  .arg(each.join(", "), m.Steady() ? QString() : QStringLiteral(" UNSTEADY")));
}

void PrintMeasures(const CalibrationResult& result) {
    PrintMeasure("player, play until it moves", result.playerStart);
    PrintMeasure("player, pause until it stands", result.playerPause);
    PrintMeasure("recorder, record until it moves", result.recorderStart);
    PrintMeasure("recorder, rec-pause until it stands", result.recorderStop);
    PrintMeasure("recorder, pause until it stands", result.recorderPause);
}

QString EndText(CalibrationEnd end) {
    switch (end) {
        case CalibrationEnd::Measured:
            break;
        case CalibrationEnd::Stopped:
            return "calibrate: stopped";
        case CalibrationEnd::NoAnswer:
            return "calibrate: a deck did not answer as expected; nothing was measured in full";
        case CalibrationEnd::NoMotion:
            return "calibrate: a tape did not run as commanded (stood still, or reached its "
                   "end); nothing was measured in full";
        case CalibrationEnd::NoStand:
            return "calibrate: a tape did not come to rest; nothing was measured in full";
        case CalibrationEnd::NotPutBack:
            return "calibrate: the recorder could not be put back at its position";
        case CalibrationEnd::RecorderMayRecord:
            return "calibrate: the recorder did not confirm its pause and may still be recording: "
                   "press the stop key on the recorder";
    }
    return {};
}

struct OptionValue {
    SettingKey key;
    std::optional<int> value;
};

// Why the settings file could not be replaced: the file system's own answer to a new attempt.
QString WriteFailure(const QString& path) {
    QSaveFile probe(path);
    if (!probe.open(QIODevice::WriteOnly))
        return probe.errorString();
    probe.cancelWriting();  // the file as it is stays
    return QStringLiteral("the file could not be read or replaced");
}

// Prints the [Option] values and, with save, writes them; false when a write failed.
bool PutOptions(const CalibrationResult& result, const SettingsFile& settings, bool save) {
    namespace keys = settings_keys;
    const OptionValue values[] = {{keys::kInPoint, result.recorderStart.Rounded()},
                                  {keys::kOutPoint, result.recorderStop.Rounded()},
                                  {keys::kPlayerPauseLead, result.playerPause.Rounded()},
                                  {keys::kRecorderPauseLead, result.recorderPause.Rounded()}};
    for (const OptionValue& v : values) {
        if (!v.value)
            continue;
        PrintLine(QStringLiteral("[%1] %2=%3").arg(v.key.section, v.key.key).arg(*v.value));
        if (save && !settings.WriteInteger(v.key, *v.value)) {
            PrintError(QStringLiteral("calibrate: %1 was not written to %2: %3")
                           .arg(v.key.key, settings.iniPath(), WriteFailure(settings.iniPath())));
            return false;
        }
    }
    if (save)
        PrintLine("written to " + settings.iniPath());
    return true;
}

struct CalibrateArgs {
    bool yes = false, save = false, force = false, editTerminal = false;
    QString port;
    int player = 0, recorder = 0;
};

bool ParseArgs(const CommandArguments& args, CalibrateArgs* a) {
    if (!args.positional().isEmpty()) {
        PrintError("calibrate: takes no arguments besides its options");
        return false;
    }
    a->yes = args.isSet("yes");
    a->save = args.isSet("save");
    a->force = args.isSet("force");
    a->editTerminal = args.isSet("edit-terminal");
    a->port = args.value("port");
    return args.Require("port") && args.Number("player", 1, 99, &a->player) &&
           args.OptionalNumber("recorder", 1, 99, &a->recorder);
}

}  // namespace

int RunCalibrateCommand(const CommandArguments& args) {
    CalibrateArgs a;
    if (!ParseArgs(args, &a))
        return 2;
    const CliSession session(args.startOptions());
    // Through the edit terminal the recorder records on the player's word; calibration never
    // has it record, so there is no recorder latency to measure.
    const int recorder = a.editTerminal ? 0 : a.recorder;
    if (a.editTerminal) {
        PrintLine(
            "Only the player is measured: the edit terminal records, and calibration "
            "never has anything record.");
    } else if (recorder == 0) {
        PrintLine(
            "Only the player is measured: the recorder's latencies need its own counter "
            "(--recorder N).");
    } else if (!Confirmed(a.yes)) {
        PrintError("calibrate: not confirmed; nothing was measured");
        return 1;
    }
    LinkCli link;
    if (!link.Open(a.port, kName))
        return 1;
    TerminalEngineHost::CatchInterrupt();
    DeckCalibration calibration(link.link, link.clock, a.player, recorder);
    link.guard.SetProgramFolder(session.folder().Path());
    calibration.SetTapeGuard(&link.guard);
    calibration.SetStopRequest([] { return stopsignals::Pending(); });
    calibration.SetProgress([](const QString& line) { PrintLine(line); });
    CalibrationResult result;
    const CalibrationEnd end = calibration.Run(&result);
    // Ctrl+Z: the decks stand again; the command reports once continued.
    if (stopsignals::SuspendRequested())
        stopsignals::SuspendNow();
    PrintMeasures(result);
    if (end != CalibrationEnd::Measured) {
        PrintError(EndText(end));
        return 1;
    }
    const bool unsteady = !result.Steady();
    if (unsteady) {
        PrintLine(QStringLiteral("The measurements marked UNSTEADY spread over %1 frames: the "
                                 "deck does not keep its timing, and one correction cannot fit "
                                 "every scene.")
                      .arg(LatencyMeasure::kSteadySpreadFrames));
    }
    if (a.save && unsteady && !a.force) {
        PutOptions(result, session.settings(), false);
        PrintError(
            "calibrate: unsteady measurements are not saved; nothing was written "
            "(--force writes them all the same)");
        return 1;
    }
    return PutOptions(result, session.settings(), a.save) ? 0 : 1;
}
