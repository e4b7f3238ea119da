// Measures the decks' mechanical latencies from their own counters and modes, each a few times:
// the recorder's frames from the record command (out of rec-pause) until its tape moves and from
// the pause command until it stands (the in-point and out-point corrections); the frames from a
// pause command, while playing, until the player and the recorder stand (their pause leads);
// and the player's frames from play until it moves. The recorder records a few seconds at its
// position and is put back there in rec-pause. Every wait has a time limit, and however it
// ends the decks are left still: the player paused, the recorder in rec-pause. Runs on any
// thread but the link's, one link job per exchange, so the link stays shared; Stop is asked
// between exchanges.
#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <vector>

class Clock;
class TapeGuard;
class TarnLink;

// One latency, measured a few times, in frames.
struct LatencyMeasure {
    std::vector<double> frames;

    bool Measured() const { return !frames.empty(); }
    double Median() const;
    // Half the distance between the smallest and the largest measurement.
    double Spread() const;
    std::optional<int> Rounded() const;
    // The trials agree: a deck whose latency varies more than this cannot be corrected for
    // with one number.
    bool Steady() const { return !Measured() || Spread() <= kSteadySpreadFrames; }

    static constexpr double kSteadySpreadFrames = 2;
};

struct CalibrationResult {
    LatencyMeasure recorderStart;  // record until the tape moves: the in-point correction
    LatencyMeasure recorderStop;   // rec-pause while recording until it stands: the out point
    LatencyMeasure playerStart;    // play until the tape moves
    LatencyMeasure playerPause;    // pause while playing until it stands
    LatencyMeasure recorderPause;
    double playerFramesPerSecond = 0;  // as measured against the clock

    // Every measurement's trials agree (see LatencyMeasure::Steady).
    bool Steady() const;
};

// How a calibration ended.
enum class CalibrationEnd {
    Measured,    // everything asked for was measured
    Stopped,     // the user's Stop
    NoAnswer,    // a deck did not answer or refused a command
    NoMotion,    // a tape did not start moving, or stood still again while it should run
    NoStand,     // a tape did not come to rest
    NotPutBack,  // the recorder could not be put back at its position
    // However it ended before, the recorder did not confirm its rec-pause at the end: it may
    // still be recording.
    RecorderMayRecord,
};

class DeckCalibration {
public:
    // recorderId 0: only the player is measured.
    DeckCalibration(TarnLink& link, Clock& clock, int playerId, int recorderId);

    // Asked between exchanges: true ends the measurement.
    void SetStopRequest(std::function<bool()> stopRequested) { stop_ = std::move(stopRequested); }
    // The guard that stands by while the decks are measured (none: unguarded).
    void SetTapeGuard(TapeGuard* guard) { guard_ = guard; }
    // Told what is being measured (one line each).
    void SetProgress(std::function<void(const QString&)> progress) {
        progress_ = std::move(progress);
    }

    // Measured when everything asked for was measured; otherwise what ended it. Either way the
    // player is left paused and the recorder in rec-pause where it stands, as its status
    // confirms (RecorderMayRecord when it never does).
    CalibrationEnd Run(CalibrationResult* result);

    static constexpr int kTrials = 3;

private:
    struct Reading {
        int32_t counter = 0;
        bool busy = false;
        int64_t us = 0;
        int mode = 0;
    };
    struct Motion;

    CalibrationEnd Measure(CalibrationResult* result);
    bool MeasurePlayer(CalibrationResult* result);
    bool MeasureRecorder(CalibrationResult* result);
    // False when the recorder did not confirm its rec-pause.
    bool LeaveDecksStill();
    // Notes why the measurement ends (the first reason counts) and returns false.
    bool Fail(CalibrationEnd why);
    // One kind of trial: the deck is started into runMode and stood again with standMode.
    struct Trial {
        int runMode;
        int standMode;
        const char* what;  // said with each trial's progress
    };
    // Runs the trial kTrials times, keeping each start (unless null) and stop, and the tape's
    // rate when asked.
    bool MeasureTrials(int id, const Trial& trial, LatencyMeasure* start, LatencyMeasure* stop,
                       double* framesPerSecond = nullptr);
    // Commands mode to id and measures how long the tape takes to move; the motion is kept for
    // the stop that follows.
    bool MeasureStart(int id, int mode, Motion* motion, double* frames);
    // Reads the deck after the command heard at heardUs until its tape's rate and phase are
    // known.
    bool TrackMotion(int id, int64_t heardUs, Motion* motion);
    // Runs the deck in mode until there() says it has come far enough, then pauses it.
    bool WindUntil(int id, int mode, const std::function<bool(const Reading&)>& there);
    // Commands mode to a moving deck and measures how long it takes to stand.
    bool MeasureStop(int id, int mode, Motion& motion, double* frames);
    bool PutBack(int id, int32_t position);
    bool Settle(int id, Reading* rest);
    bool Command(int id, int mode, int64_t* heardUs);
    bool Step(int id, bool forward);
    std::optional<Reading> Read(int id);
    // A reading, or nothing, without ending the measurement.
    std::optional<Reading> Ask(int id);
    // The next reading, unless the user's Stop has come.
    std::optional<Reading> NextReading(int id);
    // True once the user's Stop is asked for (noted as the reason the measurement ends).
    bool Stopped();
    void Say(const QString& text) const;

    TarnLink& link_;
    Clock& clock_;
    int player_;
    int recorder_;
    std::function<bool()> stop_;
    TapeGuard* guard_ = nullptr;
    std::function<void(const QString&)> progress_;
    CalibrationEnd failure_ = CalibrationEnd::Measured;
};
