#include "cli/CommandTable.h"

#include <initializer_list>

#include "cli/Commands.h"

namespace {

std::vector<CliOption> Join(std::initializer_list<std::vector<CliOption>> groups) {
    std::vector<CliOption> all;
    for (const std::vector<CliOption>& group : groups)
        all.insert(all.end(), group.begin(), group.end());
    return all;
}

const CliOption kPort = {"port", "PATH", "the serial device of the Tarn bus"};
const CliOption kId = {"id", "N", "the device's id, 1 to 99"};
const CliOption kPlayer = {"player", "N", "the player's id, 1 to 99"};
const CliOption kRecorder = {"recorder", "N", "the recorder's id, 1 to 99"};
const CliOption kEditTerminal = {"edit-terminal", "", "record through the player's edit terminal"};

// What every timed deck operation takes: the decks and the editing options, which default to
// the program folder's settings.
const std::vector<CliOption> kEngineOptions = {
    kPort,
    kPlayer,
    kRecorder,
    kEditTerminal,
    {"in-correction", "F", "in-point correction in frames, 0 to 200"},
    {"out-correction", "F", "out-point correction in frames, 0 to 200"},
    {"search", "normal|high", "the search distance"},
    {"preroll", "F", "the pre-roll in frames"},
    {"diagnostics", "FILE", "write the diagnostics file of this run at the end"}};
const std::vector<CliOption> kRowOption = {{"row", "N", "the row of the edit list"}};

const std::vector<CliOption> kAutoRecOptions = {
    {"yes", "", "confirm every tape change without asking"},
    {"retakes", "N", "record a scene that landed off again, at most N times, 0 to 5"},
    {"verify", "FILE", "write the check of what the recorder took in (JSON)"},
    {"repeat-minutes", "M", "Auto Rec again and again for M minutes (a soak)"},
    {"resume", "", "go on where the last interrupted run stopped"},
    {"from-row", "N", "go on from row N (with --recorder-at)"},
    {"recorder-at", "POSITION", "the recorder's position where row N begins"}};

}  // namespace

const std::vector<CliCommand>& CliCommands() {
    static const std::vector<CliCommand> commands = {
        {"frame",
         {"ID B3 B4 B5 B6 B7 B8 B9"},
         "the request frame of a device id and seven command bytes",
         {},
         RunFrameCommand},
        {"timecode",
         {"--mode 0|1|2 FRAMES|HH:MM:SS:FF"},
         "a frame count as counter text, or a counter text as a frame count",
         {{"mode", "0|1|2", "0: 25 fps, 1: 30 fps, 2: 30 fps drop-frame"}},
         RunTimecodeCommand},
        {"project",
         {"show FILE", "convert IN OUT", "export-edl LIST OUT.edl [OPTIONS]",
          "import-edl IN.edl OUT.cwf"},
         "show or convert an edit list, export or import an EDL",
         {{"title", "T", "export-edl: the title (default: the list's file name)"},
          {"record-start", "TIMECODE", "export-edl: the first record time (01:00:00:00)"}},
         RunProjectCommand},
        {"ports", {""}, "list the serial devices present", {}, RunPortsCommand},
        {"scan",
         {"--port PATH"},
         "scan the bus and print each device found",
         {kPort},
         RunScanCommand},
        {"status",
         {"--port PATH --id N"},
         "one status reading of a deck",
         {kPort, kId},
         RunStatusCommand},
        {"poll",
         {"--port PATH --id N --seconds S [--answer-delay MS]"},
         "poll a deck; the polling rate against the line's limit",
         {kPort,
          kId,
          {"seconds", "S", "how long to poll, 1 to 3600"},
          {"answer-delay", "MS", "answer delay counted in the line's limit, 0 to 1000"}},
         RunPollCommand},
        {"caps",
         {"--port PATH --id N"},
         "what the capability database makes of a device",
         {kPort, kId},
         RunCapsCommand},
        {"send",
         {"--port PATH ID B3 B4 B5 B6 B7 B8 B9"},
         "one raw exchange: the request, the reply and the link's result",
         {kPort},
         RunSendCommand},
        {"autorec",
         {"FILE --port PATH --player N [OPTIONS]"},
         "Auto Rec of the edit list onto the recorder",
         Join({kEngineOptions, kAutoRecOptions}),
         RunAutoRecCommand},
        {"calibrate",
         {"--port PATH --player N [OPTIONS]"},
         "measure the decks' latencies and the options they give",
         {kPort,
          kPlayer,
          kRecorder,
          {"edit-terminal", "", "measure the player only: the edit terminal records"},
          {"yes", "", "confirm that the recorder may record a few seconds"},
          {"save", "", "write the values to [Option] of cw20.ini"},
          {"force", "", "with --save: write unsteady measurements too"}},
         RunCalibrateCommand},
        {"goto",
         {"FILE --row N --port PATH --player N [OPTIONS]"},
         "cue the player to a row's in point and pause there",
         Join({kRowOption, kEngineOptions}),
         RunGotoCommand},
        {"preview",
         {"FILE --row N --port PATH --player N [OPTIONS]"},
         "play a row with its effect and transitions",
         Join({kRowOption, kEngineOptions}),
         RunPreviewCommand},
        {"review",
         {"--port PATH --player N --recorder N [OPTIONS]"},
         "play the recording on the recorder",
         Join({kEngineOptions,
               {{"from", "POSITION", "where the recording begins (frames or HH:MM:SS:FF)"},
                {"to", "POSITION", "where it ends"}}}),
         RunReviewCommand},
        {"preroll",
         {"--port PATH --player N [OPTIONS]"},
         "back the paused player up by the pre-roll",
         kEngineOptions,
         RunPrerollCommand},
        {"edit",
         {"--port PATH --player N [OPTIONS]"},
         "record from the paused player's position on",
         kEngineOptions,
         RunEditCommand},
        {"diagnostics",
         {"OUT [--port PATH]"},
         "write the file to send with a fault, after a bus scan with --port",
         {kPort},
         RunDiagnosticsCommand},
        {"tapereport",
         {"REPORT [FILE]"},
         "a simulator tape report as a table, with each scene's error",
         {},
         RunTapeReportCommand},
    };
    return commands;
}

const CliCommand* FindCliCommand(const QString& name) {
    for (const CliCommand& command : CliCommands()) {
        if (command.name == name)
            return &command;
    }
    return nullptr;
}
