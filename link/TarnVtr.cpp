#include "link/TarnVtr.h"

#include "link/DeckExchange.h"
#include "link/LinkTiming.h"
#include "link/TarnCommands.h"

namespace {

// Status reply bytes.
constexpr int kModeByte = 4;    // low four bits: the deck's transport state
constexpr int kTcModeByte = 5;  // counting mode of the counter
constexpr int kHoursByte = 6;
constexpr int kMinutesByte = 7;  // bit 0x40: counter negative
constexpr int kSecondsByte = 8;  // bit 0x40: no counter available
constexpr int kFramesByte = 9;
constexpr uint8_t kFieldMask = 0x3F;
constexpr uint8_t kFlagBit = 0x40;

// Speed reply, data byte 0.
constexpr uint8_t kSpeedNormalForward = 0x75;
constexpr uint8_t kSpeedOtherForward = 0x77;
constexpr uint8_t kSpeedReverse = 0x67;
constexpr int kSpeedByte = 8;

bool IsPlayState(int statusMode) {
    return statusMode == ModePlay || statusMode == ModeReversePlay;
}

uint32_t CounterMode(uint8_t b) {
    if (b & 0x04)
        return Fps25;
    return (b & 0x03) == 1 ? Fps30Drop : Fps30;
}

// The mode a speed reply stands for, or -1 when the reply is not one this program knows.
int ModeFromSpeedReply(const TarnFrame& reply, int statusMode) {
    const uint8_t kind = reply[tarn::kDataByte];
    if (kind == kSpeedNormalForward)
        return ModePlay;
    if (kind != kSpeedOtherForward && kind != kSpeedReverse)
        return -1;
    const bool forward = kind == kSpeedOtherForward;
    const uint8_t b5 = reply[5], b6 = reply[6], b7 = reply[7];
    if (b5 > 0 || b6 > 1)
        return forward ? ModeForwardSearch : ModeReverseSearch;
    if (b6 == 0)
        return forward ? ModeSlowForward : ModeSlowReverse;
    if (b7 == 0)
        return forward ? ModePlay : ModeReversePlay;
    return statusMode;
}

// One exchange of the request as prepared whose reply is a reading of the deck: a refused or
// unanswerable query leaves the deck's state as it was, however its data bytes read.
bool AnsweredWithReading(CTarnIO& io) {
    return io.Transact() == LinkResult::Ok && tarn::IsReading(io.Status());
}

}  // namespace

TarnVtr::TarnVtr(TarnLink& link, QObject* parent) : QObject(parent), link_(link) {}

TarnVtr::~TarnVtr() {
    StopPolling();
}

bool TarnVtr::SetId(int id) {
    if (!tarn::IsAnsweringId(id))
        return false;
    id_ = id;
    return true;
}

void TarnVtr::StartPolling() {
    link_.StartPolling(*this);
}

void TarnVtr::StopPolling() {
    link_.StopPolling();
}

bool TarnVtr::IsPolling() const {
    return link_.IsPolling();
}

// ---- commands -------------------------------------------------------------------------------

LinkJobResult TarnVtr::SetMode(int mode, bool wait) {
    return link_.Run([=, this](CTarnIO& io) { return SetModeJob(io, mode, wait); });
}

bool TarnVtr::SetModeJob(CTarnIO& io, int mode, bool wait) {
    if (!deckexchange::SendMode(io, id_.load(), mode, linktiming::kCommandAttempts))
        return false;
    // A deck that took the command without carrying it out yet tells no state with it.
    if (tarn::IsReading(io.Status()))
        UpdateFromStatus(io.Reply(), false);
    if (wait && !WaitUntilSettled(io, mode))
        return false;
    lastCommandedMode_ = mode;
    return true;
}

bool TarnVtr::WaitUntilSettled(CTarnIO& io, int mode) {
    for (int count = 0;; ++count) {
        io.PrepareFrame(static_cast<uint8_t>(id_.load()), tarncmd::kStatusQuery);
        // A lost reply is asked again; a deck silent for all the attempts is gone. One that
        // answers only that it is busy, with no reading, is still settling.
        if (!AskStatus(io, linktiming::kCommandAttempts) &&
            tarn::VerdictOf(io.Status()) != tarn::Verdict::Accepted)
            return false;
        if ((io.Status() & tarn::kStatusBusy) == 0) {
            std::lock_guard lock(stateMutex_);
            state_.mode = mode;  // the caller knows what it asked for; no change flag
            return true;
        }
        if (count > linktiming::kSettleQueryLimit)
            return false;
    }
}

LinkJobResult TarnVtr::Record(bool pause, bool terminal) {
    const TarnCommand& command =
        terminal ? (pause ? tarncmd::kTerminalRecordPause : tarncmd::kTerminalRecord)
                 : (pause ? tarncmd::kRecordPause : tarncmd::kRecord);
    // The mode is left to the next poll, which sees what the deck really does. A record or
    // pause the deck carried out though its reply went wrong is not sent a second time.
    // Through the edit terminal the player's own status tells nothing of the recorder: a
    // request the player heard was passed on.
    const deckexchange::CarriedOut carriedOut =
        terminal ? deckexchange::CarriedOut([](const TarnFrame&) { return true; })
                 : deckexchange::CarriedOut([pause](const TarnFrame& status) {
                       return deckexchange::ShowsMode(status, pause ? ModeRecordPause : ModeRecord);
                   });
    return link_.TryRun([this, command, carriedOut](CTarnIO& io) {
        io.PrepareFrame(static_cast<uint8_t>(id_.load()), command);
        return deckexchange::CommandOnce(io, linktiming::kRecordAttempts, carriedOut);
    });
}

LinkJobResult TarnVtr::Step(bool forward) {
    return link_.TryRun([this, forward](CTarnIO& io) {
        io.PrepareFrame(static_cast<uint8_t>(id_.load()),
                        forward ? tarncmd::kStepForward : tarncmd::kStepBack);
        if (!AnsweredWithReading(io))
            return false;
        UpdateFromStatus(io.Reply(), false);
        return true;
    });
}

bool TarnVtr::ReadStatus() {
    return link_.Run([this](CTarnIO& io) { return ReadStatusJob(io); }).ok;
}

bool TarnVtr::ReadStatusJob(CTarnIO& io) {
    io.PrepareFrame(static_cast<uint8_t>(id_.load()), tarncmd::kStatusQuery);
    if (!AnsweredWithReading(io))
        return false;
    NoteSample(io);
    UpdateFromStatus(io.Reply(), false);
    if (io.Status() & tarn::kStatusBusy) {
        // A deck still carrying out a command may already report the mode it is entering;
        // the mode is taken once the change has settled.
    } else if (IsPlayState(statusMode_)) {
        ReadSpeedJob(io);
    } else {
        std::lock_guard lock(stateMutex_);
        state_.mode = statusMode_;
    }
    {
        std::lock_guard lock(stateMutex_);
        state_.modeChanged = true;
    }
    emit Changed();
    return true;
}

bool TarnVtr::CheckPower() {
    return link_.Run([this](CTarnIO& io) { return CheckPowerJob(io); }).ok;
}

bool TarnVtr::CheckPowerJob(CTarnIO& io) {
    checkPower_ = false;
    io.PrepareFrame(static_cast<uint8_t>(id_.load()), tarncmd::kPowerQuery);
    const bool on =
        io.TransactRetry(linktiming::kCommandAttempts) && (io.Reply()[tarn::kDataByte] & 0x01) != 0;
    std::lock_guard lock(stateMutex_);
    if (on != state_.powerOn) {
        state_.powerOn = on;
        state_.powerChanged = true;
    }
    return true;
}

bool TarnVtr::ReadSpeed() {
    return link_.Run([this](CTarnIO& io) { return ReadSpeedJob(io); }).ok;
}

bool TarnVtr::ReadSpeedJob(CTarnIO& io) {
    speedNeeded_ = false;
    if (!IsPlayState(statusMode_))
        return false;
    io.PrepareFrame(static_cast<uint8_t>(id_.load()), tarncmd::kSpeedQuery);
    if (!io.TransactRetry(linktiming::kCommandAttempts)) {
        std::lock_guard lock(stateMutex_);
        state_.mode = lastCommandedMode_;
        return false;
    }
    const TarnFrame& reply = io.Reply();
    {
        std::lock_guard lock(stateMutex_);
        state_.speedByte = reply[kSpeedByte];
    }
    const int mode = ModeFromSpeedReply(reply, statusMode_);
    if (mode < 0)
        return false;
    SetModeFlagged(mode);
    return true;
}

LinkJobResult TarnVtr::QueryStatus(int id) {
    return link_.Run([id](CTarnIO& io) {
        io.PrepareFrame(static_cast<uint8_t>(id), tarncmd::kStatusQuery);
        return AnsweredWithReading(io);
    });
}

// ---- status decoding ------------------------------------------------------------------------

bool TarnVtr::DecodeCounter(const TarnFrame& reply, int32_t* frames, Timecode* tc) {
    if (reply[kSecondsByte] & kFlagBit)
        return false;
    tc->hours = reply[kHoursByte] & kFieldMask;
    tc->minutes = reply[kMinutesByte] & kFieldMask;
    tc->seconds = reply[kSecondsByte] & kFieldMask;
    tc->frames = reply[kFramesByte] & kFieldMask;
    tc->mode = CounterMode(reply[kTcModeByte]);
    const int32_t count = TimecodeToFrames(*tc);
    *frames = (reply[kMinutesByte] & kFlagBit) ? -count : count;
    return true;
}

QString TarnVtr::CounterText(int32_t frames, Timecode& tc) {
    TimecodeToText(tc);
    return (frames < 0 ? QStringLiteral("-") : QStringLiteral(" ")) + tc.text;
}

void TarnVtr::NoteSample(const CTarnIO& io) {
    StatusSample sample;
    Timecode tc;
    sample.hasCounter = DecodeCounter(io.Reply(), &sample.counter, &tc);
    sample.busy = (io.Status() & tarn::kStatusBusy) != 0;
    sample.heardUs = io.LastHeardUs();
    std::lock_guard lock(stateMutex_);
    lastSample_ = sample;
}

void TarnVtr::SetModeFlagged(int mode) {
    std::lock_guard lock(stateMutex_);
    if (mode != state_.mode) {
        state_.mode = mode;
        state_.modeChanged = true;
    }
}

bool TarnVtr::UpdateFromStatus(const TarnFrame& reply, bool editingStep) {
    if (reply[tarn::kStatusByte] & tarn::kStatusBusy) {
        checkPower_ = false;  // a busy deck is clearly on; its mode is still changing
    } else {
        statusMode_ = reply[kModeByte] & 0x0F;
        if (IsPlayState(statusMode_)) {
            speedNeeded_ = true;  // play and reverse play may be slow or search
        } else {
            SetModeFlagged(statusMode_);
            speedNeeded_ = false;
            if (statusMode_ == ModeStop)
                checkPower_ = true;
        }
    }
    const bool moved = TakeCounter(reply);
    if (editingStep) {
        std::function<void()> hook;
        {
            std::lock_guard lock(stateMutex_);
            hook = stepHook_;
        }
        if (hook)
            hook();
    }
    return moved;
}

bool TarnVtr::TakeCounter(const TarnFrame& reply) {
    int32_t counter = 0;
    Timecode tc;
    if (!DecodeCounter(reply, &counter, &tc))
        return false;
    if (counter == previousCounter_) {
        checkPower_ = true;  // a standing tape may mean a deck that was switched off
        return false;
    }
    previousCounter_ = counter;
    const QString text = CounterText(counter, tc);
    std::lock_guard lock(stateMutex_);
    if (!state_.powerOn) {
        state_.powerOn = true;  // a moving counter proves the deck is on
        state_.powerChanged = true;
    }
    state_.counter = counter;
    state_.counterTimecode = tc;
    state_.counterText = text;
    state_.counterChanged = true;
    return true;
}

// ---- polling --------------------------------------------------------------------------------

bool TarnVtr::Poll(CTarnIO& io) {
    io.PrepareFrame(static_cast<uint8_t>(id_.load()), tarncmd::kStatusQuery);
    if (!AnsweredWithReading(io)) {
        checkPower_ = true;
        return false;
    }
    NoteSample(io);
    UpdateFromStatus(io.Reply(), true);
    return true;
}

void TarnVtr::PollPass() {
    CTarnIO& io = link_.IO();
    const bool accepted = Poll(io);
    std::function<void(bool)> hook;
    {
        std::lock_guard lock(stateMutex_);
        hook = pollHook_;
    }
    if (hook)
        hook(accepted);
    // Waiting commands go out between the steps of a pass, not only between passes.
    link_.ServePending();
    CountSlowCheck(checkPower_, powerPasses_, &TarnVtr::CheckPowerJob, io);
    CountSlowCheck(speedNeeded_, speedPasses_, &TarnVtr::ReadSpeedJob, io);
    NotifyIfChanged();
}

void TarnVtr::CountSlowCheck(bool raised, int& passes, bool (TarnVtr::*check)(CTarnIO&),
                             CTarnIO& io) {
    if (!raised) {
        passes = 0;
        return;
    }
    if (++passes <= linktiming::kSlowCheckPasses)
        return;
    passes = 0;
    (this->*check)(io);
    link_.ServePending();
}

void TarnVtr::NotifyIfChanged() {
    bool changed;
    {
        std::lock_guard lock(stateMutex_);
        changed = state_.modeChanged || state_.powerChanged || state_.counterChanged;
    }
    if (changed)
        emit Changed();
}

// ---- state ----------------------------------------------------------------------------------

DeckState TarnVtr::State() const {
    std::lock_guard lock(stateMutex_);
    return state_;
}

DeckState TarnVtr::TakeChanges() {
    std::lock_guard lock(stateMutex_);
    DeckState shown = state_;
    state_.modeChanged = state_.powerChanged = state_.counterChanged = false;
    return shown;
}

void TarnVtr::ForgetMode() {
    std::lock_guard lock(stateMutex_);
    state_.mode = ModeNoDeck;
}

void TarnVtr::ForgetPower() {
    std::lock_guard lock(stateMutex_);
    state_.powerOn = false;
}

int TarnVtr::Mode() const {
    std::lock_guard lock(stateMutex_);
    return state_.mode;
}

int32_t TarnVtr::Counter() const {
    std::lock_guard lock(stateMutex_);
    return state_.counter;
}

bool TarnVtr::PowerOn() const {
    std::lock_guard lock(stateMutex_);
    return state_.powerOn;
}

int32_t TarnVtr::SpeedByte() const {
    std::lock_guard lock(stateMutex_);
    return state_.speedByte;
}

StatusSample TarnVtr::LastSample() const {
    std::lock_guard lock(stateMutex_);
    return lastSample_;
}

void TarnVtr::SetStepHook(std::function<void()> hook) {
    std::lock_guard lock(stateMutex_);
    stepHook_ = std::move(hook);
}

void TarnVtr::SetPollHook(std::function<void(bool accepted)> hook) {
    std::lock_guard lock(stateMutex_);
    pollHook_ = std::move(hook);
}
