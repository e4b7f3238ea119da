#include "engine/EngineDecks.h"

#include "engine/EngineLog.h"
#include "link/DeckExchange.h"
#include "link/LinkTiming.h"
#include "link/TarnCommands.h"
#include "link/TarnVtr.h"

namespace {

constexpr int kStopConfirmAttempts = 2;

const char* AnswerName(DeckAnswer answer) {
    switch (answer) {
        case DeckAnswer::Done:
            return "done";
        case DeckAnswer::Refused:
            return "refused";
        case DeckAnswer::NoAnswer:
            return "no answer";
    }
    return "";
}

}  // namespace

EngineDecks::EngineDecks(TarnLink& link, TarnVtr& vtr) : link_(link), vtr_(vtr) {}

DeckReply EngineDecks::Logged(const QString& command, DeckReply reply) const {
    // The counter the deck object holds is the addressed deck's: where the command really went
    // out, to hold against the moment the engine aimed at.
    qCInfo(lcEngine).noquote() << command << "->" << AnswerName(reply.answer) << "with deck"
                               << vtr_.Id() << "at counter" << Position();
    return reply;
}

int EngineDecks::Mode() const {
    return vtr_.Mode();
}

bool EngineDecks::Stopped() {
    if (vtr_.Mode() != ModeStop)
        return false;
    // One reading is not enough to give up a run: a reply that came late to an earlier request
    // (a power query's, whose first byte reads as "stop") can pass for a status. A deck that
    // stopped by itself, at its tape's end, still says so when asked again.
    for (int attempt = 0; attempt < kStopConfirmAttempts; ++attempt) {
        if (vtr_.ReadStatus())
            return vtr_.Mode() == ModeStop;
    }
    return true;
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

DeckReply DeckReply::Of(const LinkJobResult& result) {
    if (result.ok)
        return {DeckAnswer::Done};
    const bool refused = (result.status & tarn::kStatusVerdictMask) == tarn::kStatusRefused;
    return {refused ? DeckAnswer::Refused : DeckAnswer::NoAnswer};
}

DeckReply EngineDecks::SetModeAndWait(int mode) {
    const DeckReply reply = DeckReply::Of(vtr_.SetMode(mode, true));
    return Logged(QStringLiteral("mode %1").arg(mode), reply);
}

void EngineDecks::ReadStatus() {
    vtr_.ReadStatus();
}

DeckReply EngineDecks::RecorderCommand(bool pause) {
    const QString command =
        pause ? QStringLiteral("recorder rec-pause") : QStringLiteral("recorder record");
    if (devices_.useEditTerminal)
        return Logged(command, DeckReply::Of(vtr_.Record(pause, true)));
    if (devices_.recorderId == 0)
        return {DeckAnswer::Done};
    // The deck object addresses the recorder for this one command only. Inside one job the
    // switch and the command are one step for the link, so no poll reads the wrong deck.
    const int recorder = devices_.recorderId;
    LinkJobResult recorded;
    link_.Run([this, pause, recorder, &recorded](CTarnIO&) {
        const int player = vtr_.Id();
        vtr_.SetId(recorder);
        recorded = vtr_.Record(pause, false);
        vtr_.SetId(player);
        return recorded.ok;
    });
    return Logged(command, DeckReply::Of(recorded));
}

bool EngineDecks::StepOnto(int32_t target, int maxSteps) {
    for (int steps = 0;; ++steps) {
        // A counter that could not be read is no ground for a step: it is read again.
        if (!vtr_.ReadStatus()) {
            if (steps == maxSteps)
                return false;
            continue;
        }
        const int32_t at = Position();
        if (at == target)
            return true;
        if (steps == maxSteps)
            return false;
        // A lost reply may hide a step the deck took: the next reading tells.
        if (DeckReply::Of(vtr_.Step(at < target)).answer == DeckAnswer::Refused)
            return false;
    }
}

std::optional<int32_t> EngineDecks::TryReadRecorderPosition() {
    const RecorderReading reading = ReadRecorder(linktiming::kCommandAttempts);
    if (!reading.ok)
        return std::nullopt;
    return reading.position;
}

EngineDecks::RecorderReading EngineDecks::ReadRecorder(int attempts) {
    const int recorder = devices_.recorderId;
    // A refused or unanswerable query is no reading: its zero counter is no position.
    const LinkJobResult r = link_.Run([recorder, attempts](CTarnIO& io) {
        io.PrepareFrame(static_cast<uint8_t>(recorder), tarncmd::kStatusQuery);
        return AskStatus(io, attempts);
    });
    RecorderReading reading;
    if (!r.ok)
        return reading;
    reading.answered = true;
    reading.mode = deckexchange::StatusMode(r.reply);
    reading.busy = (r.status & tarn::kStatusBusy) != 0;
    Timecode tc;
    reading.ok = TarnVtr::DecodeCounter(r.reply, &reading.position, &tc);
    return reading;
}
