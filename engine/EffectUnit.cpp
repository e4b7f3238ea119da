#include "engine/EffectUnit.h"

#include "edit/EffectCodes.h"
#include "engine/EffectCommands.h"
#include "engine/EngineLog.h"
#include "engine/StopSignals.h"
#include "link/DeckExchange.h"
#include "link/LinkTiming.h"

using effectcmd::Family;
using effectcmd::FamilyOf;
using effectcodes::IsNoTransition;
using effectcodes::IsTransitionOrNone;

namespace {

// The device reports a transition's progress for as long as it runs; a hundred exchanges
// (a little over a second on the line) cover the longest transition with room to spare.
constexpr int kProgressPolls = 100;
// The wipe-out of the joining transitions needs two exchanges per round.
constexpr int kWipeOutRounds = 100;
// Capability pages are plain reads: fewer repeats than a command that changes something.
constexpr int kCapsAttempts = 3;

// Reply data byte k of the last exchange.
uint8_t Data(const CTarnIO& io, int k) {
    return io.Reply()[tarn::kDataByte + k];
}

// The device's flags in the progress and capability replies are known by their values. Where a
// flag's bit number and its value disagree in the device notes, the value is what devices send,
// so every test below uses the value as its mask.
constexpr uint8_t kProgressEndMask = 0x04;   // data byte 2: the transition has ended
constexpr uint8_t kProgressStopMask = 0x02;  // data byte 2: the device stopped it
constexpr uint8_t kWipeOutDoneMask = 0x01;   // data byte 2: the wipe-out has finished
constexpr uint8_t kNoCapabilityMask = 0x01;  // fifth data byte: the device has no word here

// The device tells that no transition runs: pattern 7F 01, the end or stop flag, or a reply
// with nothing in it (also what a missing reply leaves behind).
bool NoneRunning(const TarnFrame& progress) {
    const auto data = [&progress](int k) { return progress[tarn::kDataByte + k]; };
    const uint8_t d0 = data(0);
    const uint8_t d1 = data(1);
    const uint8_t d2 = data(2);
    return (d0 == 0x7F && d1 == 0x01) || (d2 & kProgressEndMask) != 0 || (d0 == 0 && d1 == 0) ||
           (d2 & kProgressStopMask) != 0;
}

// The device's progress shows a transition running.
bool ProgressShowsRun(CTarnIO& io, int device, Family family) {
    io.PrepareFrame(static_cast<uint8_t>(device), effectcmd::Progress(family));
    return AskStatus(io, linktiming::kCommandAttempts) && !NoneRunning(io.Reply());
}

// A run or a wipe-out start plays a transition on the picture, so it goes out until the device
// has heard it and never after. A reply, whole or damaged, says the device heard it, even when
// its progress shows no transition running: a short one ends before it can be asked, and its
// "ended" looks like "never started". After silence only a running transition tells that the
// request got through; otherwise it goes out again.
bool SendRun(CTarnIO& io, int device, const TarnCommand& body, Family family) {
    io.PrepareFrame(static_cast<uint8_t>(device), body);
    return deckexchange::SendUnlessTaken(
        io, linktiming::kCommandAttempts, [device, family](CTarnIO& io, bool heard) {
            if (!heard)
                return ProgressShowsRun(io, device, family);
            qCInfo(lcEngine) << "transition start heard by device" << device
                             << "though its reply went wrong: not sent again";
            return true;
        });
}

}  // namespace

EffectUnit::EffectUnit(TarnLink& link) : link_(link) {}

bool EffectUnit::RunJob(const LinkJob& job) {
    return link_.Run(job).ok;
}

bool EffectUnit::Send(CTarnIO& io, int device, const TarnCommand& body) {
    io.PrepareFrame(static_cast<uint8_t>(device), body);
    return io.TransactRetry(linktiming::kCommandAttempts);
}

bool EffectUnit::SetEffect(int e) {
    const int device = device_;
    if (device == 0)
        return true;
    const std::optional<TarnCommand> body = effectcmd::Effect(e);
    if (!body)
        return false;
    return RunJob([device, &body](CTarnIO& io) { return Send(io, device, *body); });
}

bool EffectUnit::SelectTransition(int t) {
    const int device = device_;
    if (device == 0 || IsNoTransition(t))
        return true;
    if (!IsTransitionOrNone(t))
        return false;
    return RunJob([device, t](CTarnIO& io) { return SelectOn(io, device, t); });
}

bool EffectUnit::SelectOn(CTarnIO& io, int device, int t) {
    if (!Send(io, device, *effectcmd::ModeSelect(t)))
        return false;
    if (const auto preparation = effectcmd::Preparation(t);
        preparation && !Send(io, device, *preparation))
        return false;
    return Send(io, device, *effectcmd::Pattern(t));
}

bool EffectUnit::ArmTransition(int t, bool on) {
    const int device = device_;
    if (device == 0)
        return true;
    const TarnCommand body = effectcmd::Arm(FamilyOf(t), on);
    return RunJob([device, &body](CTarnIO& io) { return Send(io, device, body); });
}

bool EffectUnit::RunTransition(int t, Side side, const std::function<bool()>& betweenPolls) {
    const int device = device_;
    if (device == 0 || IsNoTransition(t))
        return true;
    if (!IsTransitionOrNone(t))
        return false;
    return RunJob([device, t, side, &betweenPolls](CTarnIO& io) {
        return RunOn(io, device, t, side, betweenPolls);
    });
}

bool EffectUnit::RunOn(CTarnIO& io, int device, int t, Side side,
                       const std::function<bool()>& betweenPolls) {
    if (side == Side::Out) {
        if (effectcodes::NeedsFollowingScene(t))
            return WipeOutOn(io, device);
        // The device may have dropped the selection while the scene played; selecting again is
        // worth a try, and the run below goes ahead whether it took or not.
        SelectOn(io, device, t);
    }
    const Family family = FamilyOf(t);
    if (!SendRun(io, device,
                 side == Side::In ? effectcmd::RunIn(family) : effectcmd::RunOut(family), family))
        return false;
    FollowProgress(io, device, family, side, betweenPolls);
    return true;
}

void EffectUnit::FollowProgress(CTarnIO& io, int device, Family family, Side side,
                                const std::function<bool()>& betweenPolls) {
    // At the start of a scene the transition runs over the new pictures for its whole length;
    // at the end the recorder is waiting, so the polls stop as soon as the device is done.
    for (int poll = 0; poll < kProgressPolls; ++poll) {
        // A stop or a suspension is acted on at the next tick, a frame or two away, not after
        // the whole run: the transition goes on by itself.
        if ((betweenPolls && !betweenPolls()) || stopsignals::Pending())
            return;
        // Prepared at every poll: what was sent between the polls used the same frame.
        io.PrepareFrame(static_cast<uint8_t>(device), effectcmd::Progress(family));
        io.Transact();
        if (side == Side::Out && NoneRunning(io.Reply()))
            return;
    }
}

bool EffectUnit::WipeOutOn(CTarnIO& io, int device) {
    if (!Send(io, device, effectcmd::Arm(Family::B, false)) ||
        !SendRun(io, device, effectcmd::kWipeOutStart, Family::B))
        return false;
    io.PrepareFrame(static_cast<uint8_t>(device), effectcmd::Progress(Family::B));
    for (int round = 0; round < kWipeOutRounds; ++round) {
        if (!io.TransactRetry(linktiming::kCommandAttempts))
            return false;
        if ((Data(io, 2) & kWipeOutDoneMask) != 0)
            return true;
        if (io.Transact() != LinkResult::Ok)
            return false;
    }
    return false;
}

int32_t EffectUnit::DecodeCapabilityWord(const TarnFrame& reply) {
    // d1..d5 are the first five data bytes, reply bytes 4 to 8. The flag in d5 is known by its
    // value 0x01 (see the note on device flags above); a set flag means "no word".
    const auto d = [&reply](int n) { return reply[tarn::kDataByte + n - 1]; };
    if ((d(5) & kNoCapabilityMask) != 0)
        return -1;
    // Otherwise the word is 20 bits wide, one nibble per byte, most significant first.
    int32_t word = 0;
    for (int n = 1; n <= 5; ++n)
        word = (word << 4) | (d(n) & 0x0F);
    return word;
}

bool EffectUnit::ReadEffectCaps() {
    const int device = device_;
    if (device == 0)
        return false;
    return RunJob([this, device](CTarnIO& io) { return ReadCapsOn(io, device); });
}

bool EffectUnit::ReadCapsOn(CTarnIO& io, int device) {
    io.PrepareFrame(static_cast<uint8_t>(device), effectcmd::kCapsQuery);
    if (!io.TransactRetry(kCapsAttempts))
        return false;
    const int32_t transitions = DecodeCapabilityWord(io.Reply());
    {
        std::lock_guard lock(capsMutex_);
        caps_[0] = transitions;
    }
    // An odd word 0 (which includes "no word") already says nothing is available: the effect
    // pages are not worth asking for.
    if ((transitions & 1) != 0)
        return true;
    for (int page = 1; page <= 5; ++page) {
        io.Request()[effectcmd::kCapsPageByte] = static_cast<uint8_t>(page);
        if (!io.TransactRetry(kCapsAttempts))
            return false;
        const int32_t word = DecodeCapabilityWord(io.Reply());
        std::lock_guard lock(capsMutex_);
        caps_[static_cast<size_t>(page)] = word;
    }
    return true;
}

CapabilityWords EffectUnit::Caps() const {
    std::lock_guard lock(capsMutex_);
    return caps_;
}

bool EffectUnit::QueryEffectCaps(int deviceId, CapabilityWords& words) {
    SetDevice(deviceId);
    if (!ReadEffectCaps())
        return false;
    words = Caps();
    return true;
}
