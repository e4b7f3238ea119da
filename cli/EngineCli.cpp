#include "cli/EngineCli.h"

#include <QEventLoop>
#include <QTimer>
#include <memory>
#include <optional>

#include "cli/CliIo.h"
#include "cli/CliSession.h"
#include "cli/LinkCli.h"
#include "cli/SoakRun.h"
#include "cli/TerminalEngineHost.h"
#include "cli/TerminalFileHost.h"
#include "config/EditOptions.h"
#include "edit/ProjectFiles.h"
#include "edit/SceneList.h"
#include "engine/AutoEngine.h"
#include "engine/EffectUnit.h"
#include "link/LinkTiming.h"

namespace {

const QStringList kValueOptions = {
    "--port",   "--player",         "--recorder",       "--row",        "--from",
    "--to",     "--in-correction",  "--out-correction", "--search",     "--preroll",
    "--verify", "--repeat-minutes", "--from-row",       "--recorder-at"};

// A soak lasts at most a day; a run of it that has not ended after three hours has hung (the
// longest list a tape holds takes about two).
constexpr int kMaxSoakMinutes = 24 * 60;
constexpr int kSoakRunLimitMs = 3 * 60 * 60 * 1000;

// The corrections' range in the options dialog, and the longest pre-roll it can hold.
constexpr int kMaxCorrection = 200;
constexpr int kMaxPreRollFrames = 59 * 30 + 29;

QString Usage(const EngineCommand& command) {
    QString usage = "usage: " + command.name + (command.takesList ? " FILE" : "") +
                    (command.takesRow ? " --row N" : "") +
                    " --port PATH --player N [--recorder N] [--edit-terminal]";
    if (command.kind == kAutoReview)
        usage += " [--from POSITION --to POSITION]";
    if (command.kind == kAutoRec)
        usage +=
            " [--yes] [--verify FILE] [--repeat-minutes M]\n"
            "       [--resume | --from-row N --recorder-at POSITION]";
    return usage +
           "\n       [--in-correction F] [--out-correction F] [--search normal|high]"
           " [--preroll F]\n"
           "POSITION: a frame count or HH:MM:SS:FF; F: frames\noptions:\n" +
           StartOptionsUsage();
}

// The command's own arguments: flags, "--name value" options and the positional rest.
struct Arguments {
    LinkOptions options;
    bool yes = false;
    bool editTerminal = false;
    bool resume = false;
};

bool ParseArguments(const QStringList& args, const QString& name, Arguments* out) {
    QStringList rest;
    for (const QString& arg : args) {
        if (arg == "--yes")
            out->yes = true;
        else if (arg == "--edit-terminal")
            out->editTerminal = true;
        else if (arg == "--resume")
            out->resume = true;
        else
            rest << arg;
    }
    return ParseLinkOptions(rest, kValueOptions, name, &out->options);
}

bool ReadDevices(const Arguments& args, const EngineCommand& command, AutoDevices* devices) {
    const LinkOptions& o = args.options;
    if (!o.values.contains("--player")) {
        PrintError(command.name + ": --player N is required");
        return false;
    }
    if (command.needsRecorder && !o.values.contains("--recorder")) {
        PrintError(command.name + ": --recorder N is required");
        return false;
    }
    devices->useEditTerminal = args.editTerminal;
    return o.Number("--player", 1, 99, &devices->playerId, command.name) &&
           (!o.values.contains("--recorder") ||
            o.Number("--recorder", 1, 99, &devices->recorderId, command.name));
}

// The options as the program would use them (stored values, defaults for the frame mode of
// the settings), with the command line's overrides.
bool ReadOptions(const CliSession& session, const LinkOptions& o, const QString& name,
                 AutoOptions* options) {
    EditOptions stored;
    stored.LoadOptions(session.settings(), static_cast<int>(session.timecodeMode()));
    *options = {stored.inCorrection(),  stored.outCorrection(),   stored.searchDistance(),
                stored.preRollFrames(), stored.playerPauseLead(), stored.recorderPauseLead()};
    if (o.values.contains("--search")) {
        const QString speed = o.values.value("--search");
        if (speed != "normal" && speed != "high") {
            PrintError(name + ": --search must be normal or high");
            return false;
        }
        options->searchDistance = speed == "high" ? EditOptions::kHighSpeedSearchDistance
                                                  : EditOptions::kNormalSearchDistance;
    }
    const auto override = [&](const QString& option, int max, int* value) {
        return !o.values.contains(option) || o.Number(option, 0, max, value, name);
    };
    return override("--in-correction", kMaxCorrection, &options->inCorrection) &&
           override("--out-correction", kMaxCorrection, &options->outCorrection) &&
           override("--preroll", kMaxPreRollFrames, &options->preRollFrames);
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
bool SelectRow(const EngineCommand& command, const LinkOptions& o, SceneList& list) {
    int row = 0;
    if (!o.values.contains("--row")) {
        PrintError(command.name + ": --row N is required");
        return false;
    }
    if (!o.Number("--row", 1, list.count() - 1, &row, command.name))
        return false;
    const Scene& scene = list.row(row);
    if (scene.tapeChange || !IsAtLeast30s(scene.inFrames, list.timecodeMode()) ||
        (command.kind == kAutoPreview && scene.durationFrames == 0)) {
        PrintError(QStringLiteral("%1: row %2 is not a scene that can be cued (in point from "
                                  "00:00:30:00%3)")
                       .arg(command.name)
                       .arg(row)
                       .arg(command.kind == kAutoPreview ? ", with a duration" : ""));
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
bool ReadSpan(const LinkOptions& o, const QString& name, uint32_t mode, AutoEngine& engine) {
    if (!o.values.contains("--from") && !o.values.contains("--to")) {
        if (engine.RecordingEnd() > engine.RecordingStart())
            return true;
        PrintError(name + ": no Auto Rec has run here: give the span with --from and --to");
        return false;
    }
    const auto from = ParsePosition(o.values.value("--from"), mode);
    const auto to = ParsePosition(o.values.value("--to"), mode);
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

bool ReadResume(const Arguments& args, const CliSession& session, const SceneList& list,
                const QString& name, ResumeRequest* request) {
    const LinkOptions& o = args.options;
    const bool explicitPoint =
        o.values.contains("--from-row") || o.values.contains("--recorder-at");
    request->wanted = args.resume || explicitPoint;
    if (!request->wanted)
        return true;
    if (!o.values.contains("--recorder")) {
        PrintError(name + ": resuming needs the recorder's counter: give --recorder N");
        return false;
    }
    if (!explicitPoint) {
        request->point = LoadResumePoint(session.settings());
        return true;
    }
    int row = 0;
    const auto at = ParsePosition(o.values.value("--recorder-at"), list.timecodeMode());
    if (args.resume || !o.values.contains("--from-row") || !at ||
        !o.Number("--from-row", 1, list.count() - 1, &row, name)) {
        PrintError(name + ": give either --resume or both --from-row N and --recorder-at POSITION");
        return false;
    }
    request->point = {ListFingerprint(list), row - 1, *at, *at};
    return true;
}

// The run's AutoResult, or -1 when it has not ended after limitMs (0: no limit).
int RunToEnd(AutoEngine& engine, int kind, const ResumeRequest& resume, int limitMs = 0) {
    int result = kAutoFailed;
    QEventLoop loop;
    QObject::connect(&engine, &AutoEngine::finished, &loop, [&](int r) {
        result = r;
        loop.quit();
    });
    // A timer of this call's own: a one-shot timer handed to Qt would outlive the run until it
    // fired, hours later, and a soak of thousands of runs would pile them up.
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, [&] {
        result = -1;
        loop.quit();
    });
    if (limitMs > 0)
        limit.start(limitMs);
    // Ctrl+C while the port opened or the player was read: no deck is moved.
    if (TerminalEngineHost::Interrupted())
        return kAutoStopped;
    if (resume.wanted) {
        engine.AutoResume(resume.point);
    } else {
        if (kind == kAutoRec)
            engine.ReadRecorderPosition();
        engine.AutoStart(kind);
    }
    if (engine.IsRunning())
        loop.exec();
    return result;
}

// --repeat-minutes M: Auto Rec again and again on this link for M minutes (a soak).
bool ReadSoakLimits(const EngineCommand& command, const LinkOptions& o, SoakLimits* limits) {
    if (!o.values.contains("--repeat-minutes"))
        return true;
    if (command.kind != kAutoRec) {
        PrintError(command.name + ": --repeat-minutes belongs to autorec");
        return false;
    }
    limits->runLimitMs = kSoakRunLimitMs;
    return o.Number("--repeat-minutes", 1, kMaxSoakMinutes, &limits->minutes, command.name);
}

}  // namespace

int RunEngineCommand(const EngineCommand& command, const QStringList& args) {
    // From the start: a shell starts a background job with Ctrl+C ignored, and until the handler
    // is in place the signal would be lost rather than stop the run that follows.
    TerminalEngineHost::CatchInterrupt();
    const CliSession session(args);
    Arguments parsed;
    if (!session.error().isEmpty() || !ParseArguments(session.arguments(), command.name, &parsed) ||
        parsed.options.positional.size() != (command.takesList ? 1 : 0)) {
        if (!session.error().isEmpty())
            PrintError(command.name + ": " + session.error());
        PrintError(Usage(command));
        return 2;
    }
    const LinkOptions& o = parsed.options;
    AutoDevices devices;
    AutoOptions options;
    SceneList list(session.timecodeMode());
    SoakLimits soak;
    if (!ReadDevices(parsed, command, &devices) ||
        !ReadOptions(session, o, command.name, &options) || !ReadSoakLimits(command, o, &soak) ||
        (command.takesList && !LoadList(session, o.positional.front(), list)))
        return 2;
    LinkCli link;
    if (!link.Open(o.values.value("--port"), command.name))
        return 1;
    if (!ReadPlayer(link, command, &devices, list))
        return 1;
    if (command.takesRow && !SelectRow(command, o, list))
        return 2;
    EffectUnit effects(link.link);
    TerminalEngineHost host(link.vtr, list, devices, options, parsed.yes || soak.minutes > 0,
                            session.settings());
    if (command.kind == kAutoRec)
        host.SetVerificationFile(o.values.value("--verify"));
    AutoEngine engine(link.link, link.vtr, effects, link.clock, session.captions(), host);
    if (command.kind == kAutoReview && !ReadSpan(o, command.name, list.timecodeMode(), engine))
        return 2;
    ResumeRequest resume;
    if (command.kind == kAutoRec && !ReadResume(parsed, session, list, command.name, &resume))
        return 2;
    if (soak.minutes > 0) {
        const int soakResult = RunSoak(
            soak, link.io, [&](int limitMs) { return RunToEnd(engine, command.kind, {}, limitMs); },
            [&host] { return host.FinalMessagesShown(); });
        link.vtr.StopPolling();
        return soakResult;
    }
    const int result = RunToEnd(engine, command.kind, resume);
    link.vtr.StopPolling();
    return result == kAutoFinished ? 0 : 1;
}
