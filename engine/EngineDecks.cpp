#include "engine/EngineDecks.h"

#include "link/LinkTiming.h"
#include "link/TarnCommands.h"
#include "link/TarnVtr.h"

EngineDecks::EngineDecks(TarnLink& link, TarnVtr& vtr) : link_(link), vtr_(vtr) {}

int EngineDecks::Mode() const {
    return vtr_.Mode();
}

bool EngineDecks::Stopped() const {
    return vtr_.Mode() == ModeStop;
}

int32_t EngineDecks::Position() const {
    return vtr_.Counter();
}

int32_t EngineDecks::SpeedByte() const {
    return vtr_.SpeedByte();
}

int EngineDecks::FramesPerSecond() const {
    return ::FramesPerSecond(vtr_.State().counterTimecode.mode);
}

uint32_t EngineDecks::TimecodeMode() const {
    return vtr_.State().counterTimecode.mode;
}

int EngineDecks::AddressedId() const {
    return vtr_.Id();
}

void EngineDecks::Address(int id) {
    vtr_.SetId(id);
}

bool EngineDecks::SetModeAndWait(int mode) {
    return vtr_.SetMode(mode, true).ok;
}

void EngineDecks::ReadStatus() {
    vtr_.ReadStatus();
}

bool EngineDecks::RecorderCommand(bool pause) {
    if (devices_.useEditTerminal)
        return vtr_.Record(pause, true).ok;
    if (devices_.recorderId == 0)
        return true;
    // The deck object addresses the recorder for this one command only. Inside one job the
    // switch and the command are one step for the link, so no poll reads the wrong deck.
    const int recorder = devices_.recorderId;
    return link_
        .Run([this, pause, recorder](CTarnIO&) {
            const int player = vtr_.Id();
            vtr_.SetId(recorder);
            const bool ok = vtr_.Record(pause, false).ok;
            vtr_.SetId(player);
            return ok;
        })
        .ok;
}

bool EngineDecks::StepOnto(int32_t target, int maxSteps) {
    for (int steps = 0;; ++steps) {
        ReadStatus();
        const int32_t at = Position();
        if (at == target)
            return true;
        if (steps == maxSteps || !vtr_.Step(at < target).ok)
            return false;
    }
}

int32_t EngineDecks::ReadRecorderPosition() {
    return TryReadRecorderPosition().value_or(0);
}

std::optional<int32_t> EngineDecks::TryReadRecorderPosition() {
    const int recorder = devices_.recorderId;
    const LinkJobResult r = link_.Run([recorder](CTarnIO& io) {
        io.PrepareFrame(static_cast<uint8_t>(recorder), tarncmd::kStatusQuery);
        return io.TransactRetry(linktiming::kCommandAttempts);
    });
    int32_t frames = 0;
    Timecode tc;
    if (!r.ok || !TarnVtr::DecodeCounter(r.reply, &frames, &tc))
        return std::nullopt;
    return frames;
}

EngineDecks::RecorderReading EngineDecks::ReadRecorder() {
    const LinkJobResult r = vtr_.QueryStatus(devices_.recorderId);
    RecorderReading reading;
    Timecode tc;
    if (!r.ok || !TarnVtr::DecodeCounter(r.reply, &reading.position, &tc))
        return reading;
    reading.ok = true;
    reading.busy = (r.status & tarn::kStatusBusy) != 0;
    return reading;
}
