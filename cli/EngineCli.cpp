#include "cli/EngineCli.h"

#include <QCoreApplication>
#include <QScopeGuard>
#include <QTimer>
#include <memory>
#include <optional>

#include "cli/CliDiagnostics.h"
#include "cli/CliIo.h"
#include "cli/CliSession.h"
#include "cli/CommandArguments.h"
#include "cli/LinkCli.h"
#include "cli/SoakRun.h"
#include "cli/TerminalEngineHost.h"
#include "cli/TerminalFileHost.h"
#include "config/EditOptions.h"
#include "edit/ProjectFiles.h"
#include "edit/SceneList.h"
#include "engine/AutoEngine.h"
#include "engine/EffectUnit.h"
#include "engine/StopSignals.h"
#include "link/LinkTiming.h"

namespace {

// A soak lasts at most a day; a run of it that has not ended after three hours has hung (the
// longest list a tape holds takes about two).
constexpr int kMaxSoakMinutes = 24 * 60;
constexpr int kSoakRunLimitMs = 3 * 60 * 60 * 1000;

// The corrections' range in the options dialog, and the longest pre-roll it can hold.
constexpr int kMaxCorrection = 200;
constexpr int kMaxPreRollFrames = 59 * 30 + 29;

bool ReadDevices(const CommandArguments& args, const EngineCommand& command, AutoDevices* devices) {
    devices->useEditTerminal = args.isSet("edit-terminal");
    return args.Require("port") && args.Number("player", 1, 99, &devices->playerId) &&
           (!command.needsRecorder || args.Require("recorder")) &&
           args.OptionalNumber("recorder", 1, 99, &devices->recorderId);
}

// The options as the program would use them (stored values, defaults for the frame mode of
// the settings), with the command line's overrides.
bool ReadOptions(const CliSession& session, const CommandArguments& o, AutoOptions* options) {
    EditOptions stored;
    stored.LoadOptions(session.settings(), static_cast<int>(session.timecodeMode()));
    *options = {stored.inCorrection(),  stored.outCorrection(),   stored.searchDistance(),
                stored.preRollFrames(), stored.playerPauseLead(), stored.recorderPauseLead()};
    options->retakeAttempts = stored.retakeAttempts();
    options->retakeTolerance = stored.retakeTolerance();
    options->quickCue = stored.quickCue();
    if (o.isSet("search")) {
        const QString speed = o.value("search");
        if (speed != "normal" && speed != "high") {
            PrintError(o.command() + ": --search must be normal or high");
            return false;
        }
        options->searchDistance = speed == "high" ? EditOptions::kHighSpeedSearchDistance
                                                  : EditOptions::kNormalSearchDistance;
    }
    return o.OptionalNumber("in-correction", 0, kMaxCorrection, &options->inCorrection) &&
           o.OptionalNumber("out-correction", 0, kMaxCorrection, &options->outCorrection) &&
           o.OptionalNumber("preroll", 0, kMaxPreRollFrames, &options->preRollFrames) &&
           o.OptionalNumber("retakes", 0, EditOptions::kMaxRetakeAttempts,
                            &options->retakeAttempts);
}

bool LoadList(const CliSession& session, const QString& path, SceneList& list) {
    TerminalFileHost fileHost(session.captions());
    ProjectFiles files(list, fileHost, session.languageCode());
    if (files.LoadProject(path, true))
        return true;
    PrintError(path + " was not loaded");
    return false;
}

// The scene of --row: a scene row from 00:00:30:00 on, with a duration for Preview.
bool SelectRow(const EngineCommand& command, const CommandArguments& o, SceneList& list) {
    int row = 0;
    if (!o.Number("row", 1, list.count() - 1, &row))
        return false;
    const Scene& scene = list.row(row);
    if (scene.tapeChange || !IsAtLeast30s(scene.inFrames, list.timecodeMode()) ||
        (command.kind == AutoKind::Preview && scene.durationFrames == 0)) {
        PrintError(QStringLiteral("%1: row %2 is not a scene that can be cued (in point from "
                                  "00:00:30:00%3)")
                       .arg(command.name)
                       .arg(row)
                       .arg(command.kind == AutoKind::Preview ? ", with a duration" : ""));
        return false;
    }
    list.SelectOnly(row);
    return true;
}

std::optional<int32_t> ParsePosition(const QString& text, uint32_t mode) {
    bool isNumber = false;
    const int frames = text.toInt(&isNumber);
    if (isNumber)
        return frames;
    Timecode tc;
    tc.mode = mode;
    tc.text = text;
    int32_t parsed = 0;
    if (!TimecodeFromText(tc, &parsed))
        return std::nullopt;
    return parsed;
}

// The recording span that Review plays: --from and --to, or the span of an Auto Rec that ran
// on this engine.
bool ReadSpan(const CommandArguments& o, uint32_t mode, AutoEngine& engine) {
    const QString& name = o.command();
    if (!o.isSet("from") && !o.isSet("to")) {
        if (engine.RecordingEnd() > engine.RecordingStart())
            return true;
        PrintError(name + ": no Auto Rec has run here: give the span with --from and --to");
        return false;
    }
    const auto from = ParsePosition(o.value("from"), mode);
    const auto to = ParsePosition(o.value("to"), mode);
    if (!from || !to || *to <= *from) {
        PrintError(name + ": --from and --to must be positions with --to after --from");
        return false;
    }
    engine.SetRecordingSpan(*from, *to);
    return true;
}

// The player's counting mode decides the list's frame counts; its command groups whether it
// has an effect function.
bool ReadPlayer(LinkCli& link, const EngineCommand& command, AutoDevices* devices,
                SceneList& list) {
    link.vtr.SetId(devices->playerId);
    // The counting mode comes from the reply itself: the deck object takes a counter over only
    // when it has moved.
    // A reply lost on a noisy line is asked again, as every command of the link is.
    LinkJobResult status;
    bool answered = false;
    for (int attempt = 0; attempt < linktiming::kCommandAttempts && !answered; ++attempt) {
        status = link.vtr.QueryStatus(devices->playerId);
        answered = status.ok && link.vtr.ReadStatus();
    }
    int32_t counter = 0;
    Timecode tc;
    if (!answered) {
        PrintError(QStringLiteral("%1: player %2 does not answer")
                       .arg(command.name)
                       .arg(devices->playerId));
        return false;
    }
    if (TarnVtr::DecodeCounter(status.reply, &counter, &tc))
        list.SetTimecodeMode(tc.mode);
    const DeckState state = link.vtr.State();
    DeviceRecord record;
    record.id = static_cast<uint8_t>(devices->playerId);
    devices->playerHasEffects =
        link.sys.ReadCategories(record) && TarnSys::SupportsEffectCommands(record);
    if (command.needsPausedPlayer &&
        (state.mode != ModePause || !IsAtLeast30s(counter, list.timecodeMode()))) {
        PrintError(command.name + ": the player must be paused at 00:00:30:00 or later");
        return false;
    }
    return true;
}

// Where a resumed Auto Rec goes on: the point the last interrupted run kept in the program
// folder, or --from-row and --recorder-at for the list as it is. Nothing for a fresh run.
struct ResumeRequest {
    bool wanted = false;
    ResumePoint point;
};

bool ReadResume(const CommandArguments& o, const CliSession& session, const SceneList& list,
                ResumeRequest* request) {
    const QString& name = o.command();
    const bool resume = o.isSet("resume");
    const bool explicitPoint = o.isSet("from-row") || o.isSet("recorder-at");
    request->wanted = resume || explicitPoint;
    if (!request->wanted)
        return true;
    if (!o.isSet("recorder")) {
        PrintError(name + ": resuming needs the recorder's counter: give --recorder N");
        return false;
    }
    if (!explicitPoint) {
        request->point = LoadResumePoint(session.settings());
        return true;
    }
    int row = 0;
    const auto at = ParsePosition(o.value("recorder-at"), list.timecodeMode());
    if (resume || !o.isSet("from-row") || !at || !o.Number("from-row", 1, list.count() - 1, &row)) {
        PrintError(name + ": give either --resume or both --from-row N and --recorder-at POSITION");
        return false;
    }
    request->point = {ListFingerprint(list), row - 1, *at, *at};
    return true;
}

// How the run ended, or nothing when it has not ended after limitMs (0: no limit).
std::optional<AutoResult> RunToEnd(AutoEngine& engine, AutoKind kind, const ResumeRequest& resume,
                                   int limitMs = 0) {
    // The run is served by the program's own event loop, which runs until the run ends; the
    // connections live as long as this call.
    std::optional<AutoResult> result = AutoResult::Failed;
    QObject run;
    bool ended = false;
    QObject::connect(&engine, &AutoEngine::finished, &run, [&](AutoResult r) {
        result = r;
        ended = true;
        QCoreApplication::exit(0);
    });
    // A timer of this call's own: a one-shot timer handed to Qt would outlive the run until it
    // fired, hours later, and a soak of thousands of runs would pile them up.
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &run, [&] {
        result.reset();
        QCoreApplication::exit(0);
    });
    if (limitMs > 0)
        limit.start(limitMs);
    // Ctrl+C while the port opened or the player was read: no deck is moved.
    if (TerminalEngineHost::Interrupted())
        return AutoResult::Stopped;
    bool started = true;
    if (resume.wanted) {
        started = engine.AutoResume(resume.point);
    } else {
        if (kind == AutoKind::AutoRec)
            engine.ReadRecorderPosition();
        engine.AutoStart(kind);  // its start runs on the link thread; the loop waits for its end
    }
    if (started && !ended)
        QCoreApplication::exec();
    return result;
}

// --repeat-minutes M: Auto Rec again and again on this link for M minutes (a soak).
bool ReadSoakLimits(const CommandArguments& o, SoakLimits* limits) {
    if (!o.isSet("repeat-minutes"))
        return true;
    limits->runLimitMs = kSoakRunLimitMs;
    return o.Number("repeat-minutes", 1, kMaxSoakMinutes, &limits->minutes);
}

// --diagnostics FILE: the diagnostics file with this run's exchanges and verification.
void WriteRunDiagnostics(const CliSession& session, const LinkCli& link, const CommandArguments& o,
                         const QString& lastRun) {
    CliDiagnostics diagnostics;
    diagnostics.folder = &session.folder();
    diagnostics.settings = &session.settings();
    diagnostics.io = &link.io;
    diagnostics.portPath = o.value("port");
    diagnostics.lastRun = lastRun;
    diagnostics.Write(o.value("diagnostics"), o.command());
}

// Ctrl+Z: the run has stopped with the decks safe; the command goes on once continued (a soak
// with its next run).
void SuspendWhenAsked() {
    if (stopsignals::SuspendRequested())
        stopsignals::SuspendNow();
}

}  // namespace

int RunEngineCommand(const EngineCommand& command, const CommandArguments& o) {
    // From the start: a shell starts a background job with Ctrl+C ignored, and until the handler
    // is in place the signal would be lost rather than stop the run that follows.
    TerminalEngineHost::CatchInterrupt();
    if (o.positional().size() != (command.takesList ? 1 : 0)) {
        PrintError(command.name + (command.takesList ? ": one edit list is needed"
                                                     : ": takes no arguments besides its options"));
        return 2;
    }
    const CliSession session(o.startOptions());
    AutoDevices devices;
    AutoOptions options;
    SceneList list(session.timecodeMode());
    SoakLimits soak;
    if (!ReadDevices(o, command, &devices) || !ReadOptions(session, o, &options) ||
        !ReadSoakLimits(o, &soak) ||
        (command.takesList && !LoadList(session, o.positional().front(), list)))
        return 2;
    LinkCli link;
    if (!link.Open(o.value("port"), command.name))
        return 1;
    QString lastRun;
    // However the command ends once the port is open: a player that does not answer is what the
    // file is most often wanted for.
    const auto diagnostics = qScopeGuard([&] {
        if (o.isSet("diagnostics"))
            WriteRunDiagnostics(session, link, o, lastRun);
    });
    if (!ReadPlayer(link, command, &devices, list))
        return 1;
    if (command.takesRow && !SelectRow(command, o, list))
        return 2;
    EffectUnit effects(link.link);
    TerminalEngineHost host(link.vtr, list, devices, options, o.isSet("yes") || soak.minutes > 0,
                            session.settings(), session.captions());
    if (command.kind == AutoKind::AutoRec)
        host.SetVerificationFile(o.value("verify"));
    AutoEngine engine(link.link, link.vtr, effects, link.clock, session.captions(), host);
    link.guard.SetProgramFolder(session.folder().Path());
    engine.SetTapeGuard(&link.guard);
    if (command.kind == AutoKind::Review && !ReadSpan(o, list.timecodeMode(), engine))
        return 2;
    ResumeRequest resume;
    if (command.kind == AutoKind::AutoRec && !ReadResume(o, session, list, &resume))
        return 2;
    if (soak.minutes > 0) {
        const int soakResult = RunSoak(
            soak, link.io,
            [&](int limitMs) {
                const std::optional<AutoResult> result =
                    RunToEnd(engine, command.kind, {}, limitMs);
                SuspendWhenAsked();
                return result;
            },
            [&host] { return host.FinalMessagesShown(); });
        link.vtr.StopPolling();
        return soakResult;
    }
    const std::optional<AutoResult> result = RunToEnd(engine, command.kind, resume);
    link.vtr.StopPolling();
    SuspendWhenAsked();
    lastRun = host.LastRunSummary();
    return result == AutoResult::Finished ? 0 : 1;
}
