#include "engine/DeckCalibration.h"

#include <algorithm>
#include <cmath>

#include "engine/CounterPhase.h"
#include "engine/RecorderPause.h"
#include "link/Clock.h"
#include "link/DeckExchange.h"
#include "link/LinkTiming.h"
#include "link/TapeGuard.h"
#include "link/TarnCommands.h"
#include "link/TarnLink.h"
#include "link/TarnVtr.h"

namespace {

// A deck that has not moved or settled within this time is not going to.
constexpr int64_t kChangeLimitUs = 6'000'000;
// Readings of a moving tape collected after it starts: enough for its rate and phase.
constexpr int64_t kTrackUs = 1'200'000;
// The wait is turned into frames at the rate measured while the tape moves, good to about a
// frame over the time tracked: a long wait is tracked longer, so that its frames stay exact.
constexpr double kTrackPerWait = 1.25;
// The longest a start can take to measure: the longest wait for the tape to move, tracked as
// above, plus the time the rate and phase take to be known however the readings fall.
constexpr int64_t kStartLimitUs =
    kChangeLimitUs + static_cast<int64_t>(kTrackPerWait * kChangeLimitUs) + 2 * kTrackUs;
// A running tape steps its counter every frame (40 ms at the slowest rate): this long without
// a step and it stands (at the end of the tape, or stopped by the deck itself).
constexpr int64_t kStandstillUs = 1'000'000;
// Winding or playing to the recorder's old position takes at most this long (a full rewind
// of a long tape at the slowest decks' wind speed).
constexpr int64_t kPutBackLimitUs = 10 * kChangeLimitUs;
// The start is taken from the first readings after it: a small error of the rate then hardly
// matters.
constexpr size_t kStartReadings = 12;
// A tape counts as standing when this many readings in a row show the same counter, not busy.
constexpr int kStandingReadings = 3;
// Putting the recorder back: it winds to this far before its old position and plays the rest.
constexpr int32_t kPutBackRunUpFrames = 60;
constexpr int kMaxPutBackSteps = 90;

}  // namespace

double LatencyMeasure::Median() const {
    std::vector<double> sorted = frames;
    std::sort(sorted.begin(), sorted.end());
    const size_t n = sorted.size();
    return n % 2 == 1 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
}

double LatencyMeasure::Spread() const {
    const auto [low, high] = std::minmax_element(frames.begin(), frames.end());
    return (*high - *low) / 2;
}

std::optional<int> LatencyMeasure::Rounded() const {
    if (!Measured())
        return std::nullopt;
    return std::max(0, static_cast<int>(std::lround(Median())));
}

struct DeckCalibration::Motion {
    int32_t rest = 0;
    std::vector<Reading> moving;
    CounterPhase phase;
};

DeckCalibration::DeckCalibration(TarnLink& link, Clock& clock, int playerId, int recorderId)
    : link_(link), clock_(clock), player_(playerId), recorder_(recorderId) {}

void DeckCalibration::Say(const QString& text) const {
    if (progress_)
        progress_(text);
}

bool CalibrationResult::Steady() const {
    for (const LatencyMeasure* m :
         {&recorderStart, &recorderStop, &playerStart, &playerPause, &recorderPause}) {
        if (!m->Steady())
            return false;
    }
    return true;
}

CalibrationEnd DeckCalibration::Run(CalibrationResult* result) {
    *result = {};
    failure_ = CalibrationEnd::Measured;
    // The recorder records only moments at a time here, so a hang is not told from a wait:
    // the guard acts when the program dies.
    if (guard_ != nullptr)
        guard_->Arm(GuardedOperation::Calibration, recorder_, player_);
    const CalibrationEnd end = Measure(result);
    const bool paused = LeaveDecksStill();
    if (guard_ != nullptr)
        guard_->Disarm();
    return paused ? end : CalibrationEnd::RecorderMayRecord;
}

CalibrationEnd DeckCalibration::Measure(CalibrationResult* result) {
    if (!MeasurePlayer(result))
        return failure_;
    if (recorder_ == 0)
        return CalibrationEnd::Measured;
    Reading before;
    if (!Settle(recorder_, &before))
        return failure_;
    MeasureRecorder(result);  // put back even when it failed
    Say(QStringLiteral("putting the recorder back at its position"));
    if (!PutBack(recorder_, before.counter))
        Fail(CalibrationEnd::NotPutBack);
    return failure_;
}

bool DeckCalibration::Fail(CalibrationEnd why) {
    if (failure_ == CalibrationEnd::Measured)
        failure_ = why;
    return false;
}

bool DeckCalibration::LeaveDecksStill() {
    // Wherever the measurement ended, a Stop or a failure included: no deck is left running, the
    // recorder, which could harm its tape, first. The player's answer is not looked at: a deck
    // that does not answer now is already reported.
    bool paused = true;
    if (recorder_ != 0) {
        const auto send = [this] {
            return link_
                .Run([this](CTarnIO& io) {
                    return deckexchange::SendMode(io, recorder_, ModeRecordPause,
                                                  linktiming::kCommandAttempts);
                })
                .ok;
        };
        const auto read = [this] {
            const std::optional<Reading> r = Ask(recorder_);
            return r ? RecorderStand{true, r->busy, r->mode} : RecorderStand{};
        };
        paused = recorderpause::UntilStanding(clock_, false, send, read);
    }
    int64_t heard = 0;
    Command(player_, ModePause, &heard);
    return paused;
}

bool DeckCalibration::MeasurePlayer(CalibrationResult* result) {
    int64_t heard = 0;
    Reading rest;
    if (!Command(player_, ModePause, &heard) || !Settle(player_, &rest))
        return false;
    return MeasureTrials(player_, {ModePlay, ModePause, "player: play and pause"},
                         &result->playerStart, &result->playerPause,
                         &result->playerFramesPerSecond);
}

bool DeckCalibration::MeasureRecorder(CalibrationResult* result) {
    int64_t heard = 0;
    Reading rest;
    if (!Command(recorder_, ModeRecordPause, &heard) || !Settle(recorder_, &rest))
        return false;
    return MeasureTrials(recorder_, {ModeRecord, ModeRecordPause, "recorder: record and rec-pause"},
                         &result->recorderStart, &result->recorderStop) &&
           MeasureTrials(recorder_, {ModePlay, ModePause, "recorder: play and pause"}, nullptr,
                         &result->recorderPause);
}

bool DeckCalibration::MeasureTrials(int id, const Trial& trial, LatencyMeasure* start,
                                    LatencyMeasure* stop, double* framesPerSecond) {
    for (int n = 1; n <= kTrials; ++n) {
        Say(QStringLiteral("%1, %2 of %3").arg(QLatin1String(trial.what)).arg(n).arg(kTrials));
        Motion motion;
        double started = 0, stopped = 0;
        if (!MeasureStart(id, trial.runMode, &motion, &started) ||
            !MeasureStop(id, trial.standMode, motion, &stopped))
            return false;
        if (start)
            start->frames.push_back(started);
        stop->frames.push_back(stopped);
        if (framesPerSecond)
            *framesPerSecond = motion.phase.FramesPerSecond();
    }
    return true;
}

bool DeckCalibration::MeasureStart(int id, int mode, Motion* motion, double* frames) {
    Reading rest;
    int64_t heard = 0;
    if (!Settle(id, &rest) || !Command(id, mode, &heard))
        return false;
    motion->rest = rest.counter;
    if (!TrackMotion(id, heard, motion))
        return false;
    // Each of the first readings bounds the moment the tape left the rest frame; at the rate
    // measured over all of them, those bounds overlap where it did.
    const double rate = motion->phase.FramesPerSecond() / 1e6;
    double low = -1e18, high = 1e18;
    const size_t n = std::min(kStartReadings, motion->moving.size());
    for (size_t i = 0; i < n; ++i) {
        const Reading& r = motion->moving[i];
        low = std::max(low, r.us - (r.counter + 1 - motion->rest) / rate);
        high = std::min(high, r.us - (r.counter - motion->rest) / rate);
    }
    *frames = ((low + high) / 2 - static_cast<double>(heard)) * rate;
    return true;
}

bool DeckCalibration::TrackMotion(int id, int64_t heardUs, Motion* motion) {
    int64_t movedUs = 0, steppedUs = 0;
    for (;;) {
        const std::optional<Reading> r = NextReading(id);
        if (!r)
            return false;
        const int32_t last = motion->moving.empty() ? motion->rest : motion->moving.back().counter;
        if (r->counter < last || r->us - heardUs > kStartLimitUs)
            return Fail(CalibrationEnd::NoMotion);  // not a forward motion, or no end to it
        if (r->counter == motion->rest) {
            if (r->us - heardUs > kChangeLimitUs)
                return Fail(CalibrationEnd::NoMotion);
            continue;
        }
        if (r->counter > last)
            steppedUs = r->us;
        else if (r->us - steppedUs > kStandstillUs)
            return Fail(CalibrationEnd::NoMotion);  // it stands again: the tape's end
        if (movedUs == 0)
            movedUs = r->us;
        motion->moving.push_back(*r);
        motion->phase.Observe(r->counter, r->us);
        const auto tracked = static_cast<double>(r->us - movedUs);
        if (tracked > kTrackUs &&
            tracked > kTrackPerWait * static_cast<double>(movedUs - heardUs) &&
            motion->phase.Known())
            return true;
    }
}

bool DeckCalibration::MeasureStop(int id, int mode, Motion& motion, double* frames) {
    int64_t heard = 0;
    if (!Command(id, mode, &heard))
        return false;
    const double at = motion.phase.PositionAt(heard);
    Reading stand;
    if (!Settle(id, &stand))
        return false;
    // A deck stands on the frame its tape is on: somewhere in it, half a frame in on average.
    *frames = stand.counter + 0.5 - at;
    return true;
}

bool DeckCalibration::Settle(int id, Reading* rest) {
    const int64_t start = clock_.NowUs();
    int same = 0;
    std::optional<Reading> last;
    while (clock_.NowUs() - start < kChangeLimitUs) {
        const std::optional<Reading> r = NextReading(id);
        if (!r)
            return false;
        same = !r->busy && last && r->counter == last->counter ? same + 1 : 0;
        last = r;
        if (same + 1 >= kStandingReadings) {
            *rest = *r;
            return true;
        }
    }
    return Fail(CalibrationEnd::NoStand);
}

bool DeckCalibration::PutBack(int id, int32_t position) {
    int64_t heard = 0;
    Reading at;
    if (!Command(id, ModePause, &heard) || !Settle(id, &at))
        return false;
    // Rewind to the run-up, or until the tape stands at its start.
    int standing = 0;
    int32_t last = at.counter;
    const auto atRunUp = [&](const Reading& r) {
        standing = r.counter == last && !r.busy ? standing + 1 : 0;
        last = r.counter;
        return r.counter <= position - kPutBackRunUpFrames || standing >= kStandingReadings;
    };
    if (at.counter > position - kPutBackRunUpFrames / 2 &&
        (!WindUntil(id, ModeRewind, atRunUp) || !Settle(id, &at)))
        return false;
    // Play up to the old position less the deck's own pause lead, then step to the frame.
    const auto nearPosition = [&](const Reading& r) {
        return r.counter >= position - kPutBackRunUpFrames / 2;
    };
    if (at.counter < position && (!WindUntil(id, ModePlay, nearPosition) || !Settle(id, &at)))
        return false;
    for (int steps = 0; at.counter != position; ++steps) {
        if (steps > kMaxPutBackSteps || Stopped() || !Step(id, at.counter < position))
            return false;
        const std::optional<Reading> r = Read(id);
        if (!r)
            return false;
        at = *r;
    }
    return true;
}

bool DeckCalibration::WindUntil(int id, int mode,
                                const std::function<bool(const Reading&)>& there) {
    int64_t heard = 0;
    if (!Command(id, mode, &heard))
        return false;
    for (;;) {
        const std::optional<Reading> r = NextReading(id);
        if (!r)
            return false;
        if (r->us - heard > kPutBackLimitUs)
            return Fail(CalibrationEnd::NotPutBack);
        if (there(*r))
            return Command(id, ModePause, &heard);
    }
}

std::optional<DeckCalibration::Reading> DeckCalibration::NextReading(int id) {
    if (Stopped())
        return std::nullopt;
    return Read(id);
}

std::optional<DeckCalibration::Reading> DeckCalibration::Read(int id) {
    const std::optional<Reading> reading = Ask(id);
    if (!reading)
        Fail(CalibrationEnd::NoAnswer);
    return reading;
}

std::optional<DeckCalibration::Reading> DeckCalibration::Ask(int id) {
    Reading reading;
    bool hasCounter = false;
    const LinkJobResult r = link_.Run([&](CTarnIO& io) {
        io.PrepareFrame(static_cast<uint8_t>(id), tarncmd::kStatusQuery);
        // A status query is safe to repeat: one reply lost to noise or late on a busy machine
        // must not end the whole measurement. A refusal is no reading. The reading's time is
        // that of the reply heard.
        if (!AskStatus(io, linktiming::kCommandAttempts))
            return false;
        Timecode tc;
        hasCounter = TarnVtr::DecodeCounter(io.Reply(), &reading.counter, &tc);
        reading.busy = (io.Status() & tarn::kStatusBusy) != 0;
        reading.mode = deckexchange::StatusMode(io.Reply());
        reading.us = io.LastHeardUs();
        return true;
    });
    if (!r.ok || !hasCounter)
        return std::nullopt;
    return reading;
}

bool DeckCalibration::Command(int id, int mode, int64_t* heardUs) {
    // A pause or play whose reply was lost but which the deck carried out is not sent again:
    // the deck's status is read first.
    const bool accepted =
        link_
            .Run([&](CTarnIO& io) {
                const bool ok = deckexchange::SendMode(io, id, mode, linktiming::kCommandAttempts);
                *heardUs = io.LastHeardUs();
                return ok;
            })
            .ok;
    return accepted || Fail(CalibrationEnd::NoAnswer);
}

bool DeckCalibration::Step(int id, bool forward) {
    return link_
               .Run([&](CTarnIO& io) {
                   io.PrepareFrame(static_cast<uint8_t>(id),
                                   forward ? tarncmd::kStepForward : tarncmd::kStepBack);
                   // A step repeated after a lost reply is put right by the next: the position is
                   // read after each one.
                   return io.TransactRetry(linktiming::kCommandAttempts);
               })
               .ok ||
           Fail(CalibrationEnd::NoAnswer);
}

bool DeckCalibration::Stopped() {
    return stop_ && stop_() && !Fail(CalibrationEnd::Stopped);
}
