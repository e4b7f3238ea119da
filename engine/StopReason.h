// Why an operation of the engine ended: what happened, on which deck, in which step. It travels
// with the operation's result (the final message, the verification report, finished()), so a
// stopped run always says why, in the user's words and as codes for a JSON reader.
#pragma once

#include <QString>

class CaptionTable;

enum class StopCause {
    None,             // the operation finished
    UserStop,         // the user's Stop (the progress window's button, Ctrl+C)
    Signal,           // the system asked the program to end (SIGTERM, SIGHUP, SIGQUIT)
    NoAnswer,         // a deck stopped answering
    Refused,          // a deck refused a command
    TapeEnd,          // a deck stopped by itself: its tape's end, or no tape
    CannotPlace,      // the recorder could not be put on the frame a resume goes on from
    PortLost,         // the serial port hung up
    NothingToRecord,  // no row of the list records
    GuardTookOver,    // the program stopped answering and the tape guard paused the decks
};

enum class StopDeck { None, Player, Recorder };

// The engine's steps as the user knows them.
enum class StopStep {
    None,
    Start,
    Cue,          // the player is started and sent searching
    Search,       // searching towards the scene
    PlayToScene,  // playing up to the scene
    PauseAt,      // pausing on the target
    InPoint,      // releasing the recorder into record
    Transition,   // running a transition
    OutPoint,     // pausing the recorder
    RunOn,        // the player runs on past the scene
    TapeChange,
    PlaceRecorder,  // cueing the recorder for a resume
};

struct StopReason {
    StopCause cause = StopCause::None;
    StopDeck deck = StopDeck::None;
    StopStep step = StopStep::None;

    bool operator==(const StopReason&) const = default;
    bool IsStop() const { return cause == StopCause::UserStop || cause == StopCause::Signal; }

    // One line for the user in the captions' language ("Reason: recorder, starting the
    // recording: no answer."); empty when the operation finished.
    QString Text(const CaptionTable& captions) const;
    // Codes for readers of the verification report: "no_answer", "recorder", "in_point".
    QString CauseCode() const;
    QString DeckCode() const;
    QString StepCode() const;
};
